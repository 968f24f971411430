#include "platform/user_folders.h"

#include <shlobj.h>
#include <windows.h>

std::string ApplicationDataFolder() {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, FALSE)) {
        return std::string();
    }
    return path;
}

char PathSeparator() {
    return '\\';
}
