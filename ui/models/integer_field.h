#pragma once

#include <cstdint>
#include <string>

// The numeric edits of the type pages: what a text reads as, and the messages a refused
// text or number gets.

constexpr const char* kNotAnIntegerMessage = "Please enter an integer.";

// Reads at most the first 31 characters of `text`: blanks or tabs, an optional sign,
// decimal digits, blanks or tabs, nothing else. A zero must begin with the digit 0 ("+0" and
// "-0" are refused). Numbers beyond 32 bits read as the nearest limit. False when refused.
bool ParseIntegerText(const std::string& text, std::int32_t& value);

// "Please enter an integer between <low> and <high>."
std::string IntegerRangeMessage(std::int32_t low, std::int32_t high);

// Reads an edit's text into `field` and checks it against low..high. Refused text: false,
// `message` set and `field` unchanged. Out of range: false, `message` set, and `field`
// already holds the number.
bool ReadIntegerField(const std::string& text,
                      std::int32_t low,
                      std::int32_t high,
                      std::int32_t& field,
                      std::string& message);
