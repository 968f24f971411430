// Any text where a protected value is expected: the decoder keeps to its blocks, and what it
// gives back protects to a form that decodes to the same bytes again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/protected_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string hex(reinterpret_cast<const char*>(data), size);  // cut at a NUL by c_str
    const std::size_t length = hex.find('\0') == std::string::npos ? size : hex.find('\0');
    std::string text;
    bool whole = unprotectText(hex.c_str(), text);
    if (whole != (length % 16 == 0) || text.size() > length / 16 * 8 ||
        text.find('\0') != std::string::npos) {
        std::abort();
    }
    for (const std::string& plain : {text, hex.substr(0, length)}) {
        std::string form = protectText(plain.c_str());
        std::string back;
        if (form.size() != 2 + (plain.size() + 7) / 8 * 16 || !unprotectText(form.c_str() + 2, back) ||
            back != plain) {
            std::abort();
        }
    }
    return 0;
}
