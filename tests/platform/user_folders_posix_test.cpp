#include "platform/user_folders.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/env.h"

namespace {

TEST(SpecialFolders, XdgConfigHomeThenHomeConfig) {
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr), home("HOME", nullptr);
    struct Case {
        const char* xdg;
        const char* home;
        const char* expected;
    } cases[] = {
        {"/x/config", "/home/u", "/x/config"},
        {nullptr, "/home/u", "/home/u/.config"},
        {"", "/home/u", "/home/u/.config"},
        {"relative", "/home/u", "/home/u/.config"},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        xdg.Set(c.xdg);
        home.Set(c.home);
        EXPECT_EQ(ApplicationDataFolder(), c.expected);
    }
    EXPECT_EQ(PathSeparator(), '/');
}

}  // namespace
