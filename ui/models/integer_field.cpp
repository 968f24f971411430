#include "ui/models/integer_field.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::size_t kMaxCharacters = 31;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool ParseIntegerText(const std::string& text, std::int32_t& value) {
    const std::string head = text.substr(0, kMaxCharacters);
    std::size_t at = 0;
    while (at < head.size() && IsBlank(head[at])) {
        ++at;
    }
    const std::size_t first = at;
    bool negative = false;
    if (at < head.size() && (head[at] == '+' || head[at] == '-')) {
        negative = head[at] == '-';
        ++at;
    }
    const std::size_t digits = at;
    std::int64_t magnitude = 0;
    constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    while (at < head.size() && IsDigit(head[at])) {
        // Past the 32-bit range the value only saturates; stop growing it.
        magnitude = std::min<std::int64_t>(magnitude * 10 + (head[at] - '0'), kCap);
        ++at;
    }
    if (at == digits) {
        return false;
    }
    while (at < head.size() && IsBlank(head[at])) {
        ++at;
    }
    if (at != head.size()) {
        return false;
    }
    // A zero written with a sign is refused: the text must start with the digit itself.
    if (magnitude == 0 && head[first] != '0') {
        return false;
    }
    std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max()) {
        signedValue = std::numeric_limits<std::int32_t>::max();
    }
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

std::string IntegerRangeMessage(std::int32_t low, std::int32_t high) {
    return "Please enter an integer between " + std::to_string(low) + " and " +
           std::to_string(high) + ".";
}

bool ReadIntegerField(const std::string& text,
                      std::int32_t low,
                      std::int32_t high,
                      std::int32_t& field,
                      std::string& message) {
    std::int32_t value = 0;
    if (!ParseIntegerText(text, value)) {
        message = kNotAnIntegerMessage;
        return false;
    }
    field = value;
    if (value < low || value > high) {
        message = IntegerRangeMessage(low, high);
        return false;
    }
    return true;
}
