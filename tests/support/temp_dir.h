#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes. Path() ends in the platform's separator.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }
    // Writes bytes to a file in the folder (creating subfolders is up to the caller).
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    void MakeFolder(const std::string& name) const;

private:
    std::string path_;
};
