#include "platform/special_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

class Env {
  public:
    explicit Env(const char* name) : name_(name) {
        const char* v = std::getenv(name);
        if (v != nullptr) {
            saved_ = v;
        }
    }
    ~Env() {
        if (saved_) {
            ::setenv(name_, saved_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    void Set(const char* value) {
        if (value) {
            ::setenv(name_, value, 1);
        } else {
            ::unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(SpecialFolders, XdgConfigHomeThenHomeConfig) {
    Env xdg("XDG_CONFIG_HOME"), home("HOME");
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
