#pragma once

#include <cstdio>
#include <string>

// Opens a file for reading bytes only when it is a regular file: a FIFO, a device or a folder
// is refused at once, without waiting on it or reading it without end. nullptr otherwise.
std::FILE* OpenRegularFile(const std::string& path);
