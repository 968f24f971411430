#include "platform/instance_lock.h"
#include "tests/support/runtime_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

namespace {
std::string UniqueName(const char* base) {
    std::random_device rd;
    return std::string(base) + std::to_string(rd()) + "Proccess 1.11";
}
}  // namespace

TEST(InstanceLock, SecondHolderOfTheSameNameIsTold) {
    ScopedRuntimeFolder runtime;
    std::string name = UniqueName("Lock Test ");
    InstanceLock first = InstanceLock::Create(name);
    ASSERT_EQ(first.GetState(), InstanceLock::State::Acquired);
    InstanceLock second = InstanceLock::Create(name);
    EXPECT_EQ(second.GetState(), InstanceLock::State::AlreadyHeld);
    // Another name is another product: not seen.
    InstanceLock other = InstanceLock::Create(UniqueName("Other Test "));
    EXPECT_EQ(other.GetState(), InstanceLock::State::Acquired);
}

TEST(InstanceLock, MovedLockStaysHeldUntilItsLastOwnerGoes) {
    ScopedRuntimeFolder runtime;
    std::string name = UniqueName("Lock Test ");
    InstanceLock kept;
    {
        InstanceLock made = InstanceLock::Create(name);
        kept = std::move(made);
    }
    EXPECT_EQ(kept.GetState(), InstanceLock::State::Acquired);
    EXPECT_EQ(InstanceLock::Create(name).GetState(), InstanceLock::State::AlreadyHeld);
    kept = InstanceLock();
    EXPECT_EQ(InstanceLock::Create(name).GetState(), InstanceLock::State::Acquired);
}

#if !defined(_WIN32)
#include <unistd.h>

#include "tests/support/standard_input.h"

// The runtime folder, else the temporary folder with the user's id in the name; a slash in the
// name never leads into another folder.
TEST(InstanceLock, LockFileFolder) {
    TempDir dir;
    const std::string user = "." + std::to_string(::getuid());
    struct Case {
        const char* runtime;
        const char* tmp;
        std::string file;
    } cases[] = {
        {dir.Path().c_str(), nullptr, dir.File("a_b")},
        {nullptr, dir.Path().c_str(), dir.File("a_b" + user)},
        {"relative", dir.Path().c_str(), dir.File("a_b" + user)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ScopedEnv runtime("XDG_RUNTIME_DIR", c.runtime), tmp("TMPDIR", c.tmp);
        EXPECT_EQ(InstanceLock::Create("a/b").GetState(), InstanceLock::State::Acquired);
        EXPECT_TRUE(dir.Exists(c.file.substr(dir.Path().size())));
        std::remove(c.file.c_str());
    }
    // A program started with its standard input closed gets descriptor 0 for its lock.
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    EXPECT_EQ(WithStandardInputClosed([] { return InstanceLock::Create("zero").GetState(); }),
              InstanceLock::State::Acquired);
}
#endif
