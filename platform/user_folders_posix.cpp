#include "platform/user_folders.h"

#include <cstdlib>

std::string ApplicationDataFolder() {
    // Relative values are invalid by the XDG rules and would move with the working folder.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return config;
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.config";
    }
    return std::string();
}

char PathSeparator() {
    return '/';
}
