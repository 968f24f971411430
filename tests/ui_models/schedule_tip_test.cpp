#include "ui/models/schedule_tip.h"

#include <gtest/gtest.h>

#include <string>

// The tip's second line names the latest of a start, a failed start and a miss, with why.
TEST(ScheduleTip, LastLineTellsAStartAFailureOrAMissWithWhy) {
    struct Case {
        LastStart last;
        const char* expected;
    } cases[] = {
        {{0, false, "", ""}, "Last start: none since the program started"},
        {{5, true, "", ""}, "Last start: T5 by hand, started"},
        {{5, false, "Access is denied.", ""}, "Last start: T5, failed: Access is denied."},
        {{5, false, "", "held up"}, "Last start: missed T5, the polling was held up"},
        {{5, false, "", "asleep or clock moved"},
         "Last start: missed T5, the computer was asleep or its clock moved"},
        {{5, false, "", "not running"}, "Last start: missed T5, the program was not running"},
    };
    for (const Case& c : cases) {
        ScheduleEntry entry;
        entry.last_start = c.last;
        std::string text = ScheduleTipText(entry, NextStart{},
                                           [](std::time_t at) { return "T" + std::to_string(at); });
        EXPECT_EQ(text.substr(text.find('\n') + 1), c.expected);
    }
}
