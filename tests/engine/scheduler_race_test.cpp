// The polling thread at full speed while this thread appends, replaces and removes entries.
// Run in the ThreadSanitizer build, it also proves the list and the latches are shared
// without a race.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/scheduler_thread.h"
#include "tests/support/launch_rig.h"
#include "tests/support/schedule.h"

namespace {
// Due in every other pass: the clock alternates between minute 10 and minute 11.
ScheduleEntry HourlyAtTen(int id) {
    return MakeEntry(Hourly, 0, 0, 0, 0, 10, 0, 0, 0, std::to_string(id));
}
}  // namespace

TEST(SchedulerRace, ListChangesWhilePollingNeverStartARemovedEntry) {
    LaunchRig rig;
    ScheduleList& list = rig.list;
    std::atomic<long> pass{0};
    std::vector<long> startPasses;  // the pass of each start; read after the join
    rig.onStart = [&](const std::string&) { startPasses.push_back(pass.load()); };
    const std::time_t ten = LocalTime(2026, 6, 15, 12, 10);
    const std::time_t eleven = LocalTime(2026, 6, 15, 12, 11);
    SchedulerThread thread(
        rig.launcher, rig.stop, [&] { return (++pass % 2) ? ten : eleven; },
        std::chrono::milliseconds(0));

    int nextId = 0;
    for (int i = 0; i < 20; ++i) {
        list.Append(HourlyAtTen(nextId++));
    }
    std::map<int, long> removedAt;  // entry id, pass counter once it was gone
    auto removeAt = [&](int position) {
        int id = std::stoi(list.EntryAt(position)->file);
        list.Remove(position);
        removedAt[id] = pass.load();
    };
    std::mt19937 random(7);
    ASSERT_TRUE(thread.Start());
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < until) {
        int count = list.Count();
        int position = count > 0 ? static_cast<int>(random() % count) : 0;
        switch (random() % 3) {
            case 0:
                list.Append(HourlyAtTen(nextId++));
                break;
            case 1:
                if (count > 0) {
                    int id = std::stoi(list.EntryAt(position)->file);
                    list.Replace(position, HourlyAtTen(nextId++));
                    removedAt[id] = pass.load();
                }
                break;
            default:
                if (count > 0) {
                    removeAt(position);
                }
                break;
        }
        // Keep the list from growing or emptying for good.
        if (list.Count() > 40) {
            removeAt(0);
        }
    }
    rig.stop.Set();
    thread.Join();

    ASSERT_GT(pass.load(), 10);
    std::vector<std::string> files = rig.Files();
    ASSERT_FALSE(files.empty());
    for (size_t i = 0; i < files.size(); ++i) {
        int id = std::stoi(files[i]);
        auto removed = removedAt.find(id);
        if (removed != removedAt.end()) {
            EXPECT_LE(startPasses[i], removed->second)
                << "entry " << id << " started after removal";
        }
    }
}
