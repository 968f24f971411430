// The lock seen from another process: this test program starts a copy of itself that only
// reports what it finds.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "platform/instance_lock.h"
#include "platform/process_start.h"
#include "platform/program_path.h"
#include "tests/support/env.h"
#include "tests/support/runtime_folder.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

namespace {
const char kNameVariable[] = "INSTANCE_LOCK_PROBE_NAME";
const char kReportVariable[] = "INSTANCE_LOCK_PROBE_REPORT";

// What a second process finds for the name: "held", "acquired" or "" when it did not report.
std::string ProbeFromAnotherProcess(const std::string& name, const TempDir& dir) {
    std::string report = dir.File("probe.txt");
    SetEnv(kNameVariable, name.c_str());
    SetEnv(kReportVariable, report.c_str());
    std::string self = ProgramPath();
    if (!StartProcess("\"" + self + "\" --gtest_filter=InstanceLockProbe.Report")) {
        return "";
    }
    std::string word;
    auto reported = [&] {
        return std::ifstream(report) >> word && (word == "held." || word == "acquired.");
    };
    return WaitUntil(reported, 20000) ? word.substr(0, word.size() - 1) : "";
}
}  // namespace

// Does nothing unless started by the test below.
TEST(InstanceLockProbe, Report) {
    const char* name = std::getenv(kNameVariable);
    const char* report = std::getenv(kReportVariable);
    if (name == nullptr || report == nullptr || name[0] == '\0') {
        return;
    }
    InstanceLock lock = InstanceLock::Create(name);
    std::ofstream(report) << (lock.GetState() == InstanceLock::State::AlreadyHeld ? "held."
                                                                                  : "acquired.");
}

TEST(InstanceLock, AnotherProcessSeesItHeldUntilReleased) {
    ScopedRuntimeFolder runtime;
    TempDir dir;
    std::random_device rd;
    std::string name = "Process Probe " + std::to_string(rd()) + "Proccess 1.11";
    InstanceLock lock = InstanceLock::Create(name);
    ASSERT_EQ(lock.GetState(), InstanceLock::State::Acquired);
    EXPECT_EQ(ProbeFromAnotherProcess(name, dir), "held");
    lock.Release();
    std::remove(dir.File("probe.txt").c_str());
    EXPECT_EQ(ProbeFromAnotherProcess(name, dir), "acquired");
    SetEnv(kNameVariable, nullptr);
}
