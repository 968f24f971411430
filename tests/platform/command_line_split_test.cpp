#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/process_start.h"

TEST(SplitCommandLine, BlanksSeparateAndQuotesGroup) {
    using Args = std::vector<std::string>;
    struct Case {
        const char* line;
        Args expected;
    } cases[] = {
        {"dovsuite.exe -process \"/w/site.dvs\"", {"dovsuite.exe", "-process", "/w/site.dvs"}},
        {"dovsuite.exe -x 5 \"/my work/a b.dvs\"", {"dovsuite.exe", "-x", "5", "/my work/a b.dvs"}},
        {"a  \t b", {"a", "b"}},
        {"  lead and trail  ", {"lead", "and", "trail"}},
        {"dovsuite.exe -process \"\"", {"dovsuite.exe", "-process", ""}},
        // The quote may sit inside an argument and does not belong to it.
        {"-o\"ut put\"x", {"-out putx"}},
        // Nothing is escaped: a quote inside the path ends the group.
        {"e \"/a\"b c.dvs\"", {"e", "/ab", "c.dvs"}},
        // An unbalanced quote runs to the end of the line.
        {"e \"/a b", {"e", "/a b"}},
        {"", {}},
        {"   ", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitCommandLine(c.line), c.expected) << c.line;
    }
}
