#pragma once

#include <functional>
#include <string>

struct DirectoryItem {
    std::string name;  // file name only, no folder
    bool isFolder = false;
};

// Lists the entries of a folder that match a wildcard pattern ("C:\\dir\\*.exe"), in the
// order the file system returns them. The visitor returns false to stop early.
class DirectoryLister {
public:
    using Visitor = std::function<bool(const DirectoryItem&)>;
    virtual ~DirectoryLister() = default;
    virtual void List(const char* pattern, const Visitor& visit) = 0;
};

// The lister of this operating system. Windows: FindFirstFileA/FindNextFileA. POSIX: the
// folder part of the pattern is read and its file part ('*' and '?') matched without regard
// to letter case, as Windows does.
DirectoryLister& SystemDirectoryLister();

// Wildcard match of a file name, '*' and '?' only, letters compared without regard to case.
bool WildcardMatch(const char* pattern, const char* name);
