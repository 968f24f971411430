#include "platform/autorun_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>

namespace {
std::string UniqueName() {
    std::random_device rd;
    return "Scheduler Test " + std::to_string(rd());
}

bool HasValue(HKEY root, const std::string& name) {
    return RegGetValueA(root, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", name.c_str(),
                        RRF_RT_REG_SZ, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
}  // namespace

// Both stores in one table: the machine-wide one (writable under Wine) and the one that
// finds the machine-wide key refused and falls back to the user's key.
TEST(RunKeyStore, WritesReadsBackAndDeletes) {
    struct Case {
        const char* what;
        AutorunStore* store;
    } cases[] = {
        {"machine", &SystemAutorunStore()},
        {"user fallback", &UserOnlyAutorunStore()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string name = UniqueName();
        const std::string command = "\"C:\\Program Files\\Dovrin\\Scheduler.exe\" -server";
        ASSERT_TRUE(c.store->Write(name, command));
        std::string read;
        ASSERT_TRUE(c.store->Read(name, read));
        EXPECT_EQ(read, command);
        EXPECT_TRUE(c.store->Delete(name));
        EXPECT_FALSE(c.store->Read(name, read));
        EXPECT_FALSE(c.store->Delete(name));
    }
}

TEST(RunKeyStore, FullStoreFindsAndDeletesAFallbackValue) {
    std::string name = UniqueName();
    ASSERT_TRUE(UserOnlyAutorunStore().Write(name, "\"C:\\S.exe\" -server"));
    std::string read;
    // The full store still finds it (it looks in both) and deletes it from both.
    ASSERT_TRUE(SystemAutorunStore().Read(name, read));
    EXPECT_TRUE(SystemAutorunStore().Delete(name));
    EXPECT_FALSE(UserOnlyAutorunStore().Read(name, read));
}

// An Add made elevated after one made as a standard user, or the other way round, leaves one
// value that starts the copy: two would start two quiet instances at every logon.
TEST(RunKeyStore, OneValueStartsACopy) {
    const std::string ours = "\"C:\\Program Files\\Dovrin\\Scheduler.exe\" -server";
    struct Case {
        const char* what;
        AutorunStore* first;
        std::string firstCommand;
        AutorunStore* second;
        bool machine, user;
    } cases[] = {
        {"user then machine", &UserOnlyAutorunStore(), ours, &SystemAutorunStore(), true, false},
        {"machine then user", &SystemAutorunStore(), ours, &UserOnlyAutorunStore(), true, false},
        {"another copy's user value stays", &UserOnlyAutorunStore(),
         "\"D:\\Other\\Scheduler.exe\" -server", &SystemAutorunStore(), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string name = UniqueName();
        ASSERT_TRUE(c.first->Write(name, c.firstCommand));
        EXPECT_TRUE(c.second->Write(name, ours));
        EXPECT_EQ(HasValue(HKEY_LOCAL_MACHINE, name), c.machine);
        EXPECT_EQ(HasValue(HKEY_CURRENT_USER, name), c.user);
        SystemAutorunStore().Delete(name);
    }
}
