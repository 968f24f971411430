// The polling loop over real time zones across both daylight-saving changes: an entry in
// the repeated hour starts twice, one in the skipped hour not at all, and the others once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "engine/launcher.h"
#include "engine/schedule_list.h"
#include "engine/scheduler_thread.h"
#include "engine/stop_flag.h"

namespace {
class TimeZone {
  public:
    explicit TimeZone(const char* zone) {
        const char* old = std::getenv("TZ");
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (had_) {
            setenv("TZ", old_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    bool had_;
    std::string old_;
};

ScheduleEntry At(ScheduleType type, int hour, int min, int sec) {
    ScheduleEntry e;
    e.enable = 1;
    e.type = type;
    e.hour = static_cast<std::int16_t>(hour);
    e.min = static_cast<std::int16_t>(min);
    e.sec = static_cast<std::int16_t>(sec);
    e.days_week = kEveryDay;
    e.file = std::to_string(type) + "@" + std::to_string(hour) + ":" + std::to_string(min);
    return e;
}

std::time_t LocalMidnight(int year, int month1, int day) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month1 - 1;
    t.tm_mday = day;
    t.tm_isdst = -1;
    return std::mktime(&t);
}
}  // namespace

TEST(SchedulerOverDaylightSaving, RepeatedHourStartsTwiceSkippedHourNever) {
    struct Case {
        const char* zone;
        int year, month, day;
        int changeHour;  // local hour that is skipped or repeated
        int expectedInChangeHour;
    } cases[] = {
        {"Europe/Berlin", 2026, 3, 29, 2, 0},
        {"Europe/Berlin", 2026, 10, 25, 2, 2},
        {"America/New_York", 2026, 3, 8, 2, 0},
        {"America/New_York", 2026, 11, 1, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.month));
        TimeZone zone(c.zone);
        ScheduleList list;
        list.Append(At(Daily, c.changeHour, 30, 0));
        list.Append(At(Daily, 4, 0, 0));  // outside the change: once
        // Hourly at :15 starts once in every hour the clock shows, that is once per real
        // hour in either direction.
        list.Append(At(Hourly, 0, 15, 0));
        std::vector<std::string> started;
        Launcher launcher(list, [&](const std::string& line) {
            started.push_back(line.substr(line.find('"') + 1));
            return true;
        });
        launcher.SetTarget(LaunchTarget{"dovsuite.exe", "-process"});
        StopFlag stop;
        SchedulerThread thread(launcher, stop, nullptr);

        std::time_t begin = LocalMidnight(c.year, c.month, c.day);
        std::time_t end = begin + 6 * 3600;
        for (std::time_t now = begin; now < end; ++now) {
            thread.RunPass(now);  // two polls in every second, as at 500 ms
            thread.RunPass(now);
        }
        auto count = [&](const std::string& file) {
            int n = 0;
            for (const std::string& s : started) {
                n += s == file + "\"";
            }
            return n;
        };
        int realHours = static_cast<int>((end - begin) / 3600);
        EXPECT_EQ(count(list.EntryAt(0)->file), c.expectedInChangeHour);
        EXPECT_EQ(count(list.EntryAt(1)->file), 1);
        EXPECT_EQ(count(list.EntryAt(2)->file), realHours);
    }
}
