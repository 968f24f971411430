// The escaped one-line texts: the headless listing's fields and an autostart entry's Exec=
// value must hold no line break or tab and give back exactly the bytes they were made from.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/escaped_text.h"

namespace {

std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        char c = ++i < text.size() ? text[i] : '?';
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c == '\\' ? '\\' : '?';
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string field = BackslashEscaped(text);
    std::string exec = DesktopExecValue(text);
    for (const std::string& line : {field, exec}) {
        if (line.find_first_of("\t\n\r") != std::string::npos) {
            std::abort();
        }
    }
    if (unescaped(field) != text || DesktopExecCommand(exec) != text) {
        std::abort();
    }
    return 0;
}
