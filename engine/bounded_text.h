#pragma once

#include <cstddef>

// Paths and command texts are built in fixed buffers; these always terminate the text and
// silently cut what does not fit.

// Copies at most size - 1 characters, fills the rest of those size - 1 bytes with NULs and
// stores a NUL in the last byte.
void boundedCopy(char* buffer, std::size_t size, const char* text);

// Appends at most size - length - 1 characters when the buffer's text is shorter than size;
// otherwise changes nothing.
void boundedAppend(char* buffer, std::size_t size, const char* text);

// The part of the path after its last backslash or slash, or the whole path.
const char* fileNamePart(const char* path);
