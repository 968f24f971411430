#include "platform/process_start.h"
#include "platform/program_path.h"

std::string FolderOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string ExecutablePath(const std::string& name) {
    if (name.find_first_of("\\/") != std::string::npos) {
        return name;
    }
    return FolderOf(ProgramPath()) + name;
}
