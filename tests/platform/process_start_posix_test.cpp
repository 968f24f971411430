#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/process_start.h"
#include "tests/support/stub_log.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

namespace {
// True once no ended child waits to be collected; looks without collecting.
bool NoZombieChildren() {
    siginfo_t info{};
    int result = waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT);
    return (result == -1 && errno == ECHILD) || (result == 0 && info.si_pid == 0);
}
}  // namespace

TEST(StartProcess, EndedChildrenAreCollected) {
    TempDir dir;
    std::string log = dir.File("starts.log");
    SetStubLog(log);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(StartProcess("companion_stub -process \"x\""));
    }
    ASSERT_EQ(WaitForStubLog(log, 5, 10000).size(), 5u);
    EXPECT_TRUE(WaitUntil(NoZombieChildren, 5000));
}

// The child must not inherit the signals the calling thread blocks (the headless program
// blocks SIGTERM in every thread to take it with sigwait).
TEST(StartProcess, ChildStartsWithNoSignalBlocked) {
    TempDir dir;
    std::string log = dir.File("starts.log");
    SetStubLog(log);
    sigset_t blocked, previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    bool started = StartProcess("companion_stub -process \"x\"");
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ASSERT_TRUE(started);
    std::vector<StubRecord> records = WaitForStubLog(log, 1, 10000);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_FALSE(records[0].signalsBlocked);
}
