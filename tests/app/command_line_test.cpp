#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/app_state.h"

TEST(CommandLine, ServerSwitchInAnyCaseAfterMinusOrSlash) {
    struct Case {
        std::vector<const char*> args;
        int expected;
    } cases[] = {
        {{"prog", "-server"}, 1},
        {{"prog", "/SERVER"}, 1},
        {{"prog", "-Server"}, 1},
        {{"prog", "other", "/sErVeR"}, 1},
        {{"prog"}, 0},
        {{"prog", "server"}, 0},
        {{"prog", "--server"}, 0},
        {{"prog", "-servers"}, 0},
        {{"prog", "-serve"}, 0},
        {{"prog", "-"}, 0},
        {{"prog", ""}, 0},
        // The program's own name is not an argument.
        {{"-server"}, 0},
    };
    for (const Case& c : cases) {
        ServerMode = 0;
        AutorunEnabled = 0;
        ParseCommandLine(static_cast<int>(c.args.size()), c.args.data());
        EXPECT_EQ(ServerMode, c.expected) << c.args.back();
        EXPECT_EQ(AutorunEnabled, c.expected) << c.args.back();
    }
    ServerMode = 0;
    AutorunEnabled = 0;
}
