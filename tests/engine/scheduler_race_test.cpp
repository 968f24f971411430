// The polling thread at full speed while this thread appends, replaces and removes entries.
// Run in the ThreadSanitizer build, it also proves the list and the latches are shared
// without a race.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "engine/launcher.h"
#include "engine/schedule_list.h"
#include "engine/scheduler_thread.h"
#include "engine/stop_flag.h"

namespace {
// Due in every other pass: the clock alternates between minute 10 and minute 11.
ScheduleEntry HourlyAtTen(int id) {
    ScheduleEntry e;
    e.enable = 1;
    e.type = Hourly;
    e.min = 10;
    e.file = std::to_string(id);
    return e;
}

std::time_t AtMinute(int minute) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 5;
    t.tm_mday = 15;
    t.tm_hour = 12;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return std::mktime(&t);
}
}  // namespace

TEST(SchedulerRace, ListChangesWhilePollingNeverStartARemovedEntry) {
    ScheduleList list;
    StopFlag stop;
    std::atomic<long> pass{0};
    std::mutex startsMutex;
    std::vector<std::pair<int, long>> starts;  // entry id, pass it was started in

    Launcher launcher(list, [&](const std::string& line) {
        int id = std::stoi(line.substr(line.find('"') + 1));
        std::lock_guard<std::mutex> lock(startsMutex);
        starts.emplace_back(id, pass.load());
        return true;
    });
    launcher.SetTarget(LaunchTarget{"dovsuite.exe", "-process"});
    const std::time_t ten = AtMinute(10);
    const std::time_t eleven = AtMinute(11);
    SchedulerThread thread(
        launcher, stop, [&] { return (++pass % 2) ? ten : eleven; }, std::chrono::milliseconds(0));

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
    stop.Set();
    thread.Join();

    ASSERT_GT(pass.load(), 10);
    std::lock_guard<std::mutex> lock(startsMutex);
    ASSERT_FALSE(starts.empty());
    for (const auto& [id, startPass] : starts) {
        auto removed = removedAt.find(id);
        if (removed != removedAt.end()) {
            EXPECT_LE(startPass, removed->second) << "entry " << id << " started after removal";
        }
    }
}
