#include "platform/instance_lock.h"
#include "tests/support/runtime_folder.h"

#include <gtest/gtest.h>

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
