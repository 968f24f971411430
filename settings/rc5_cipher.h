#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// RC5 with 32-bit words as published: the key length and round count are parameters so the
// published test vectors can check the same code the protected values use.
class Rc5Cipher {
public:
    // Key bytes are loaded into words little-endian, as the published algorithm does.
    Rc5Cipher(const std::uint8_t* key, std::size_t keyLength, int rounds);

    void Encrypt(std::uint32_t& a, std::uint32_t& b) const;
    void Decrypt(std::uint32_t& a, std::uint32_t& b) const;

private:
    int rounds_;
    std::vector<std::uint32_t> table_;  // 2 * (rounds + 1) words
};
