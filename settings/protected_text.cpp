#include "settings/protected_text.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "settings/rc5_cipher.h"

namespace {

constexpr int kRounds = 12;
// The program's own key; values protected under another key come back as other bytes.
constexpr std::uint8_t kKey[32] = {
    0x5c, 0x1e, 0xa7, 0x3b, 0x92, 0x0f, 0xd4, 0x68, 0x21, 0xb9, 0x7e, 0x45, 0xc3, 0x16, 0x8a, 0xf0,
    0x37, 0x6d, 0xe2, 0x09, 0x5b, 0xa1, 0x4f, 0xc8, 0x73, 0x2e, 0x96, 0xd0, 0x1a, 0x64, 0xbf, 0x88,
};

const Rc5Cipher& cipher() {
    // Expanding the key is cheap, but there is no reason to repeat it.
    static const Rc5Cipher c(kKey, sizeof kKey, kRounds);
    return c;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads one 8-character group as "%X" would: blanks first, then hex digits up to the first
// other character; no digits give 0.
std::uint32_t readGroup(const char* group) {
    int i = 0;
    while (i < 8 && (group[i] == ' ' || group[i] == '\t')) {
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < 8; ++i) {
        int digit = hexValue(group[i]);
        if (digit < 0) {
            break;
        }
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

}  // namespace

std::string protectText(const char* text) {
    std::string result = "XZ";
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0) {
        std::uint8_t block[8] = {};
        for (int i = 0; i < 8 && *p != 0; ++i) {
            block[i] = *p++;
        }
        std::uint32_t a = std::uint32_t{block[0]} << 24 | block[1] << 16 | block[2] << 8 | block[3];
        std::uint32_t b = std::uint32_t{block[4]} << 24 | block[5] << 16 | block[6] << 8 | block[7];
        cipher().Encrypt(a, b);
        char groups[17];
        std::snprintf(groups, sizeof groups, "%8X%8X", static_cast<unsigned>(a),
                      static_cast<unsigned>(b));
        result += groups;
    }
    return result;
}

bool unprotectText(const char* hex, std::string& result) {
    result.clear();
    std::size_t left = std::strlen(hex);
    while (left > 0) {
        std::uint32_t words[2];
        for (std::uint32_t& word : words) {
            if (left < 8) {
                return false;
            }
            word = readGroup(hex);
            hex += 8;
            left -= 8;
        }
        cipher().Decrypt(words[0], words[1]);
        // A zero byte is padding: the rest of its block is dropped.
        for (int i = 0; i < 8; ++i) {
            char byte = static_cast<char>((words[i / 4] >> (24 - 8 * (i % 4))) & 0xFF);
            if (byte == 0) {
                break;
            }
            result += byte;
        }
    }
    return true;
}
