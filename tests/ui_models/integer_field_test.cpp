#include <gtest/gtest.h>

#include <string>

#include "ui/models/integer_field.h"

namespace {

TEST(IntegerField, TextsAndRanges) {
    struct Case {
        const char* name;
        std::string text;
        bool read;  // the Hourly minutes (0..59) took it
        int field;  // the field afterwards; it held 9 before
        const char* message;
    };
    const std::string range = "Please enter an integer between 0 and 59.";
    const Case cases[] = {
        {"blanks around", " 7 ", true, 7, ""},
        {"tab and minus", "\t-3", false, -3, range.c_str()},
        {"upper bound", "59", true, 59, ""},
        {"past the bound", "60", false, 60, range.c_str()},
        {"trailing letter", "7a", false, 9, kNotAnIntegerMessage},
        {"plus zero", "+0", false, 9, kNotAnIntegerMessage},
        {"minus zero", "-0", false, 9, kNotAnIntegerMessage},
        {"empty", "", false, 9, kNotAnIntegerMessage},
        {"inner blank", "1 2", false, 9, kNotAnIntegerMessage},
        {"largest", "2147483647", false, 2147483647, range.c_str()},
        {"smallest", "-2147483648", false, -2147483647 - 1, range.c_str()},
        {"saturates high", "99999999999", false, 2147483647, range.c_str()},
        {"saturates low", "-99999999999", false, -2147483647 - 1, range.c_str()},
        // Only 31 characters are read: the 32nd, a letter, is never seen.
        {"32 characters", "7" + std::string(30, ' ') + "x", true, 7, ""},
        {"31 characters", "7" + std::string(29, ' ') + "x", false, 9, kNotAnIntegerMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::int32_t field = 9;
        std::string message;
        EXPECT_EQ(ReadIntegerField(c.text, 0, 59, field, message), c.read);
        EXPECT_EQ(field, c.field);
        EXPECT_EQ(message, c.message);
    }
    EXPECT_EQ(IntegerRangeMessage(1, 31), "Please enter an integer between 1 and 31.");
}

}  // namespace
