#pragma once

#include <string>

class AutorunStore;

// The command registered to start the program at logon: the quoted program path, a blank
// and -server, cut at 399 characters like every command text.
std::string BuildAutorunCommand(const std::string& programFullPath);

// Registers the program (named after the active variant's title) to start at logon, then
// sets AutorunEnabled to 1 whatever the store did.
void EnableAutorun();
// Deletes the registration, then sets AutorunEnabled to 0 whatever the store did.
void DisableAutorun();
// The menu command: DisableAutorun when AutorunEnabled is set, else EnableAutorun.
void ToggleAutorun();

// Where EnableAutorun and DisableAutorun write; the system's store unless a test set
// another (nullptr restores the system's).
void SetAutorunStore(AutorunStore* store);
