#include "app/autorun.h"

#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/product_variant.h"
#include "tests/support/memory_autorun_store.h"

namespace {
class Autorun : public testing::Test {
protected:
    void SetUp() override {
        SetAutorunStore(&store);
        SetActiveVariant(kProductVariants[0]);
        SetProgramPath("C:\\Program Files\\Dovrin Suite\\Scheduler.exe");
        AutorunEnabled = 0;
    }
    void TearDown() override {
        SetAutorunStore(nullptr);
        AutorunEnabled = 0;
    }
    MemoryAutorunStore store;
};
}  // namespace

TEST_F(Autorun, CommandIsTheQuotedPathAndTheServerSwitchCutAt399) {
    EXPECT_EQ(BuildAutorunCommand("C:\\Program Files\\S.exe"),
              "\"C:\\Program Files\\S.exe\" -server");
    std::string longPath(420, 'p');
    std::string command = BuildAutorunCommand(longPath);
    EXPECT_EQ(command.size(), 399u);
    EXPECT_EQ(command, "\"" + std::string(398, 'p'));
}

TEST_F(Autorun, ToggleWritesThenDeletesTheValueNamedAfterTheVariant) {
    ToggleAutorun();
    EXPECT_EQ(AutorunEnabled, 1);
    ASSERT_EQ(store.entries.count("Dovrin Suite Scheduler"), 1u);
    EXPECT_EQ(store.entries["Dovrin Suite Scheduler"],
              "\"C:\\Program Files\\Dovrin Suite\\Scheduler.exe\" -server");
    ToggleAutorun();
    EXPECT_EQ(AutorunEnabled, 0);
    EXPECT_TRUE(store.entries.empty());
}

TEST_F(Autorun, RefusedStoreStillFollowsTheUsersChoice) {
    store.refuse = true;
    EnableAutorun();
    EXPECT_EQ(AutorunEnabled, 1);
    DisableAutorun();
    EXPECT_EQ(AutorunEnabled, 0);
    // Deleting a value that is not there is silent as well.
    store.refuse = false;
    DisableAutorun();
    EXPECT_EQ(AutorunEnabled, 0);
}
