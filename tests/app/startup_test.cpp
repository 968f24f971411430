#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/product_variant.h"
#include "engine/schedule_list.h"
#include "engine/stop_flag.h"
#include "platform/instance_lock.h"
#include "tests/support/runtime_folder.h"

TEST(Startup, QuietStartEndsOnlyWithNothingToSchedule) {
    struct Case {
        int serverMode;
        bool withEntry;
        bool ends;
    } cases[] = {{1, false, true}, {1, true, false}, {0, false, false}, {0, true, false}};
    for (const Case& c : cases) {
        TheScheduleList().Clear();
        if (c.withEntry) {
            TheScheduleList().Append(ScheduleEntry{});
        }
        ServerMode = c.serverMode;
        EXPECT_EQ(ShouldEndQuietStart(), c.ends) << c.serverMode << c.withEntry;
    }
    TheScheduleList().Clear();
    ServerMode = 0;
}

TEST(Startup, InstanceLockNameIsTheTitleFollowedByTheVersionText) {
    SetActiveVariant(kProductVariants[2]);
    EXPECT_STREQ(InstanceLockName(), "Dovrin Lens SchedulerProccess 1.11");
    SetActiveVariant(kProductVariants[0]);
}

// Another instance of the same product holds the lock (here an object of this process,
// which the lock treats as another owner).
TEST(Startup, SecondStartIsRefusedAndOnlyAnInteractiveOneAsksForTheOtherWindow) {
    ScopedRuntimeFolder runtime;
    SetActiveVariant(kProductVariants[3]);
    struct Case {
        int serverMode;
        bool goesOn;
        std::vector<std::string> broughtForward;
    } cases[] = {
        {0, false, {"Dovrin Depot Scheduler"}},
        {1, false, {}},
    };
    for (const Case& c : cases) {
        InstanceLock other = InstanceLock::Create(InstanceLockName());
        ASSERT_EQ(other.GetState(), InstanceLock::State::Acquired);
        ServerMode = c.serverMode;
        std::vector<std::string> forward;
        EXPECT_EQ(AcquireSingleInstance([&](const char* title) { forward.push_back(title); }),
                  c.goesOn);
        EXPECT_EQ(forward, c.broughtForward);
        ReleaseSingleInstance();
    }
    // With nobody else holding it, an interactive start goes on.
    ServerMode = 0;
    EXPECT_TRUE(AcquireSingleInstance());
    ReleaseSingleInstance();
    SetActiveVariant(kProductVariants[0]);
}

TEST(Startup, PollingStartsOnceAndShutdownEndsIt) {
    TheScheduleList().Clear();
    SetActiveVariant(kProductVariants[0]);
    ASSERT_TRUE(StartPolling());
    EXPECT_FALSE(StartPolling());
    Shutdown();  // returns only once the thread has ended
    EXPECT_TRUE(StopRequested().IsSet());
    // Never restarted.
    EXPECT_FALSE(StartPolling());
}
