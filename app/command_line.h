#pragma once

// True for "-server" or "/server" in any letter case; no other argument means anything.
bool IsServerSwitch(const char* argument);

// Reads the program's arguments (argv[0] is the program and is skipped): the server switch
// sets ServerMode and AutorunEnabled to 1.
void ParseCommandLine(int argc, const char* const* argv);
