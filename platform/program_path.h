#pragma once

#include <string>

// Full path of the running executable as the operating system reports it (empty when it
// cannot tell). Windows: GetModuleFileNameA of the own module; Linux: /proc/self/exe.
std::string ProgramPath();

// The folder part of a path, ending in its last "\" or "/"; empty when it has neither.
std::string FolderOf(const std::string& path);
