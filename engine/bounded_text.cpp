#include "engine/bounded_text.h"

#include <cstring>

void boundedCopy(char* buffer, std::size_t size, const char* text) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    std::size_t i = 0;
    if (text != nullptr) {
        for (; i + 1 < size && text[i] != '\0'; ++i) {
            buffer[i] = text[i];
        }
    }
    for (; i + 1 < size; ++i) {
        buffer[i] = '\0';
    }
    buffer[size - 1] = '\0';
}

void boundedAppend(char* buffer, std::size_t size, const char* text) {
    if (buffer == nullptr || text == nullptr) {
        return;
    }
    std::size_t length = strnlen(buffer, size);
    if (length >= size) {  // unterminated, or no room at all
        return;
    }
    std::size_t room = size - length - 1;
    std::size_t n = strnlen(text, room);
    std::memcpy(buffer + length, text, n);
    buffer[length + n] = '\0';
    buffer[size - 1] = '\0';
}

const char* fileNamePart(const char* path) {
    if (path == nullptr) {
        return nullptr;
    }
    const char* part = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/') {
            part = p + 1;
        }
    }
    return part;
}
