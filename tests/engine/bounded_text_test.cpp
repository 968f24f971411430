#include "engine/bounded_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(BoundedCopy, CutsPadsAndTerminates) {
    struct Case {
        const char* text;
        std::string expected;  // all 8 bytes of the buffer
    } cases[] = {
        {"abc", std::string("abc\0\0\0\0\0", 8)},
        {"abcdefg", std::string("abcdefg\0", 8)},
        {"abcdefghijk", std::string("abcdefg\0", 8)},
        {"", std::string(8, '\0')},
        {nullptr, std::string(8, '\0')},
    };
    for (const Case& c : cases) {
        char buffer[8];
        std::memset(buffer, 'x', sizeof buffer);
        boundedCopy(buffer, sizeof buffer, c.text);
        EXPECT_EQ(std::string(buffer, 8), c.expected) << (c.text ? c.text : "(null)");
    }
    char untouched = 'u';
    boundedCopy(&untouched, 0, "abc");  // no room, not even for the end
    boundedCopy(nullptr, 8, "abc");
    EXPECT_EQ(untouched, 'u');
}

TEST(BoundedAppend, AppendsWhatFitsOrNothing) {
    struct Case {
        const char* start;
        const char* text;
        const char* expected;
    } cases[] = {
        {"ab", "cd", "abcd"},
        {"ab", "cdefghij", "abcdefg"},
        {"abcdefg", "h", "abcdefg"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        char buffer[8];
        boundedCopy(buffer, sizeof buffer, c.start);
        boundedAppend(buffer, sizeof buffer, c.text);
        EXPECT_STREQ(buffer, c.expected);
    }
}

TEST(BoundedAppend, UnterminatedBufferIsLeftAlone) {
    char buffer[4] = {'a', 'b', 'c', 'd'};
    boundedAppend(buffer, sizeof buffer, "e");
    EXPECT_EQ(std::string(buffer, 4), "abcd");
}

TEST(FileNamePart, TakesTextAfterLastSeparator) {
    EXPECT_STREQ(fileNamePart("C:\\Work\\site.dvs"), "site.dvs");
    EXPECT_STREQ(fileNamePart("/home/u/a\\b/c.exe"), "c.exe");
    EXPECT_STREQ(fileNamePart("plain.exe"), "plain.exe");
    EXPECT_STREQ(fileNamePart("folder\\"), "");
}
