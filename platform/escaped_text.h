#pragma once

#include <string>

// The text on one line: a backslash, a tab and the line breaks written as \\, \t, \n and \r,
// as a log line or a desktop entry's value wants them.
std::string BackslashEscaped(const std::string& text);

// The Exec= value of an autostart entry for a command '"<program path>" <switch>', and the
// command read back from such a value. Inside the quotes the characters " ` $ and backslash
// take a backslash; then the value's own escapes double every backslash and write line breaks
// as \n, and % is doubled so that no path reads as a field code:
//   "/opt/100%/a\b" -server   ->   "/opt/100%%/a\\\\b" -server
std::string DesktopExecValue(const std::string& command);
std::string DesktopExecCommand(const std::string& value);
