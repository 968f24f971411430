#pragma once

#include <string>

// The text on one line: a backslash, a tab and the line breaks written as \\, \t, \n and \r,
// as a log line or a desktop entry's value wants them.
std::string BackslashEscaped(const std::string& text);
