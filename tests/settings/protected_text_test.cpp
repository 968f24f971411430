#include "settings/protected_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "settings/rc5_cipher.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& hex) {
    std::vector<std::uint8_t> out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return out;
}

std::uint32_t LittleEndian(const std::uint8_t* b) {
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

TEST(Rc5Cipher, PublishedVectors) {
    struct Case {
        const char* key;
        const char* plain;
        const char* cipher;
    } cases[] = {
        {"00000000000000000000000000000000", "0000000000000000", "21a5dbee154b8f6d"},
        {"915f4619be41b2516355a50110a9ce91", "21a5dbee154b8f6d", "f7c013ac5b2b8952"},
        {"783348e75aeb0f2fd7b169bb8dc16787", "f7c013ac5b2b8952", "2f42b3b70369fc92"},
        {"dc49db1375a5584f6485b413b5f12baf", "2f42b3b70369fc92", "65c178b284d197cc"},
        {"5269f149d41ba0152497574d7f153125", "65c178b284d197cc", "eb44e415da319824"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> key = Bytes(c.key), plain = Bytes(c.plain);
        Rc5Cipher cipher(key.data(), key.size(), 12);
        std::uint32_t a = LittleEndian(&plain[0]), b = LittleEndian(&plain[4]);
        cipher.Encrypt(a, b);
        char out[17];
        std::snprintf(out, sizeof out, "%02x%02x%02x%02x%02x%02x%02x%02x", a & 0xFF, a >> 8 & 0xFF,
                      a >> 16 & 0xFF, a >> 24, b & 0xFF, b >> 8 & 0xFF, b >> 16 & 0xFF, b >> 24);
        EXPECT_EQ(out, std::string(c.cipher)) << c.key;
        cipher.Decrypt(a, b);
        EXPECT_EQ(a, LittleEndian(&plain[0]));
        EXPECT_EQ(b, LittleEndian(&plain[4]));
    }
}

TEST(ProtectedText, LengthsAndRoundTrips) {
    struct Case {
        std::string text;
        size_t length;
    } cases[] = {
        {"a", 18},
        {"1234567", 18},
        {"12345678", 18},
        {"123456789", 34},
        {"0123456789abcdef", 34},
        {"", 2},
        {"\xff\x80 quote\" back\\slash", 50},
    };
    for (const Case& c : cases) {
        std::string form = protectText(c.text.c_str());
        EXPECT_EQ(form.size(), c.length) << c.text;
        EXPECT_EQ(form.compare(0, 2, "XZ"), 0);
        EXPECT_EQ(form.find_first_not_of("XZ0123456789ABCDEF "), std::string::npos) << form;
        std::string back;
        EXPECT_TRUE(unprotectText(form.c_str() + 2, back));
        EXPECT_EQ(back, c.text);
    }
}

// Groups may come back in lower case or zero-padded instead of blank-padded.
TEST(ProtectedText, ReadsLowerCaseAndZeroPaddedGroups) {
    std::string text = "Pa55word!";
    std::string form = protectText(text.c_str());
    std::string lower, zeros;
    for (char c : form.substr(2)) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        zeros += c == ' ' ? '0' : c;
    }
    std::string back;
    EXPECT_TRUE(unprotectText(lower.c_str(), back));
    EXPECT_EQ(back, text);
    EXPECT_TRUE(unprotectText(zeros.c_str(), back));
    EXPECT_EQ(back, text);
}

TEST(ProtectedText, IncompleteBlockKeepsTheBlocksBefore) {
    std::string form = protectText("12345678abc");
    std::string hex = form.substr(2);
    for (size_t cut : {hex.size() - 1, hex.size() - 8, hex.size() - 9, hex.size() - 15}) {
        std::string back = "old";
        EXPECT_FALSE(unprotectText(hex.substr(0, cut).c_str(), back));
        EXPECT_EQ(back, "12345678") << cut;
    }
    std::string back = "old";
    EXPECT_TRUE(unprotectText("", back));
    EXPECT_EQ(back, "");
}

TEST(ProtectedText, ZeroByteEndsItsBlockOnly) {
    // A block enciphered from "ab\0\0cdef" deciphers to "ab" and drops the rest of the block;
    // the next block still counts.
    std::string first = protectText("ab");
    std::string second = protectText("XYZ");
    std::string back;
    EXPECT_TRUE(unprotectText((first.substr(2) + second.substr(2)).c_str(), back));
    EXPECT_EQ(back, "abXYZ");
}

}  // namespace
