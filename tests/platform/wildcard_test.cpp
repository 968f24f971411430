#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/directory_listing.h"
#include "tests/support/temp_dir.h"

TEST(WildcardMatch, Table) {
    struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.exe", "dovsuite.exe", true},
        {"*.exe", "DOVSUITE.EXE", true},
        {"*.exe", "a.exe.txt", false},
        {"*.exe", ".exe", true},
        {"*.exe", "exe", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"*", "", true},
        {"*a*b", "xxaxxb", true},
        {"*a*b", "xxaxxbc", false},
        {"Scheduler.cfg", "scheduler.CFG", true},
    };
    for (auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
    }
}

TEST(SystemDirectoryLister, ListsMatchingEntriesAndMarksFoldersOrNothing) {
    TempDir dir;
    dir.Write("one.exe", "");
    dir.Write("TWO.EXE", "");
    dir.Write("three.txt", "");
    dir.MakeFolder("sub.exe");
    std::vector<std::string> files, folders;
    SystemDirectoryLister().List((dir.Path() + "*.exe").c_str(), [&](const DirectoryItem& item) {
        (item.isFolder ? folders : files).push_back(item.name);
        return true;
    });
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"TWO.EXE", "one.exe"}));
    EXPECT_EQ(folders, (std::vector<std::string>{"sub.exe"}));
    // A missing folder lists nothing.
    files.clear();
    SystemDirectoryLister().List((dir.Path() + "absent/*.exe").c_str(),
                                 [&](const DirectoryItem& item) {
                                     files.push_back(item.name);
                                     return true;
                                 });
    EXPECT_TRUE(files.empty());
}
