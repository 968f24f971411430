#include "settings/rc5_cipher.h"

#include <algorithm>

namespace {
constexpr std::uint32_t kP32 = 0xB7E15163;
constexpr std::uint32_t kQ32 = 0x9E3779B9;

std::uint32_t rotl(std::uint32_t x, std::uint32_t n) {
    n &= 31;
    return n == 0 ? x : (x << n) | (x >> (32 - n));
}
std::uint32_t rotr(std::uint32_t x, std::uint32_t n) {
    n &= 31;
    return n == 0 ? x : (x >> n) | (x << (32 - n));
}
}  // namespace

Rc5Cipher::Rc5Cipher(const std::uint8_t* key, std::size_t keyLength, int rounds)
    : rounds_(rounds), table_(static_cast<std::size_t>(2 * (rounds + 1))) {
    std::size_t c = std::max<std::size_t>(1, (keyLength + 3) / 4);
    std::vector<std::uint32_t> l(c, 0);
    for (std::size_t i = keyLength; i-- > 0;) {
        l[i / 4] = (l[i / 4] << 8) + key[i];
    }
    table_[0] = kP32;
    for (std::size_t i = 1; i < table_.size(); ++i) {
        table_[i] = table_[i - 1] + kQ32;
    }
    std::uint32_t a = 0, b = 0;
    std::size_t i = 0, j = 0;
    std::size_t steps = 3 * std::max(table_.size(), c);
    for (std::size_t k = 0; k < steps; ++k) {
        a = table_[i] = rotl(table_[i] + a + b, 3);
        b = l[j] = rotl(l[j] + a + b, a + b);
        i = (i + 1) % table_.size();
        j = (j + 1) % c;
    }
}

void Rc5Cipher::Encrypt(std::uint32_t& a, std::uint32_t& b) const {
    a += table_[0];
    b += table_[1];
    for (int r = 1; r <= rounds_; ++r) {
        a = rotl(a ^ b, b) + table_[2 * r];
        b = rotl(b ^ a, a) + table_[2 * r + 1];
    }
}

void Rc5Cipher::Decrypt(std::uint32_t& a, std::uint32_t& b) const {
    for (int r = rounds_; r >= 1; --r) {
        b = rotr(b - table_[2 * r + 1], a) ^ a;
        a = rotr(a - table_[2 * r], b) ^ b;
    }
    b -= table_[1];
    a -= table_[0];
}
