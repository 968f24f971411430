// The type pages' numeric edits: every text is held against a plain reading of the same
// rule, so a wrong number or a wrong refusal is a finding as much as a crash.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "ui/models/integer_field.h"

namespace {

// Blanks, an optional sign, digits, blanks; the first 31 characters only; no signed zero;
// beyond 32 bits the nearest limit.
bool plainReading(std::string text, std::int32_t& value) {
    text = text.substr(0, 31);
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t a = 0, b = text.size();
    while (a < b && blank(text[a])) {
        ++a;
    }
    while (b > a && blank(text[b - 1])) {
        --b;
    }
    std::string body = text.substr(a, b - a);
    bool negative = !body.empty() && body[0] == '-';
    std::string digits = !body.empty() && (body[0] == '-' || body[0] == '+') ? body.substr(1) : body;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    std::size_t nonZero = digits.find_first_not_of('0');
    if (nonZero == std::string::npos && body[0] != '0') {
        return false;
    }
    digits = nonZero == std::string::npos ? "0" : digits.substr(nonZero);
    long long magnitude = digits.size() > 11 ? 99999999999LL : std::stoll(digits);
    long long n = negative ? -magnitude : magnitude;
    n = std::max<long long>(n, std::numeric_limits<std::int32_t>::min());
    n = std::min<long long>(n, std::numeric_limits<std::int32_t>::max());
    value = static_cast<std::int32_t>(n);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::int32_t got = 7, expected = 7;
    bool ok = ParseIntegerText(text, got);
    if (ok != plainReading(text, expected) || (ok && got != expected)) {
        std::abort();
    }
    std::int32_t field = -5;
    std::string message;
    bool inRange = ReadIntegerField(text, 0, 59, field, message);
    if (inRange != (ok && got >= 0 && got <= 59) || field != (ok ? got : -5) ||
        message != (inRange ? "" : ok ? IntegerRangeMessage(0, 59) : kNotAnIntegerMessage)) {
        std::abort();
    }
    return 0;
}
