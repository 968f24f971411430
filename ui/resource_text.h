#pragma once

#include <string>

// A string of the program's string table; empty when there is none.
std::string LoadResourceText(unsigned id);

// A command's status-bar prompt and tooltip: its string is "prompt\ntooltip".
std::string CommandPrompt(unsigned id);
std::string CommandTooltip(unsigned id);
