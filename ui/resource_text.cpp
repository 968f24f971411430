#include "ui/resource_text.h"

#include <windows.h>

std::string LoadResourceText(unsigned id) {
    char buffer[512];
    int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof(buffer));
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

std::string CommandPrompt(unsigned id) {
    std::string text = LoadResourceText(id);
    return text.substr(0, text.find('\n'));
}

std::string CommandTooltip(unsigned id) {
    std::string text = LoadResourceText(id);
    size_t newline = text.find('\n');
    return newline == std::string::npos ? std::string() : text.substr(newline + 1);
}
