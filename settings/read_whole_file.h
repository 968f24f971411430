#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads a whole file as text mode would deliver it on Windows: CR LF becomes LF and a Ctrl-Z
// byte ends the text. Done by hand so both targets read the same file the same way.
// Anything but a regular file cannot be opened. Failures are reported at `level`.
bool readWholeFile(const std::string& path, std::uint32_t level, std::string& text);

// The same translation over bytes already in memory.
std::string translateTextMode(const char* data, std::size_t size);
