#pragma once

#include <string>

// The user's application-data folder, without a trailing separator; empty when the system
// cannot tell. Windows: SHGetSpecialFolderPathA(CSIDL_APPDATA), not created. POSIX:
// $XDG_CONFIG_HOME, else $HOME/.config.
std::string ApplicationDataFolder();

// The separator this system puts between folder names.
char PathSeparator();
