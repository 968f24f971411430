#include "engine/journal_memory.h"

#include <gtest/gtest.h>

#include "engine/launcher.h"
#include "engine/next_start.h"
#include "engine/schedule_list.h"
#include "engine/start_journal.h"
#include "tests/support/schedule.h"
#include "tests/support/temp_dir.h"

namespace {
const LaunchTarget kSuite{"dovsuite.exe", "-process"};
const char* const kUtc = "+00:00";

std::string At(int hour, int min = 0) {
    char text[32];
    std::snprintf(text, sizeof text, "2026-12-08T%02d:%02d:00%s", hour, min, kUtc);
    return text;
}
std::time_t Instant(int hour, int min = 0) {
    return DaysFromCivil(2026, 12, 8) * 86400 + hour * 3600 + min * 60;
}
}  // namespace

// Each schedule gets its newest start, failed start or miss across both generations; lines
// that are not the journal's own are passed over, and so is a schedule the journal never saw;
// a line may end in CR LF, as Windows writes them.
TEST(JournalMemory, EachScheduleGetsItsNewestLineAcrossBothGenerations) {
    TempDir dir;
    const std::string a = "\tdovsuite.exe -process \"a.dvs\"\n";
    const std::string tabbed = "\tdovsuite.exe -process \"t b.dvs\"\n";
    dir.Write("Scheduler.log.1",
              At(1) + "\tstarted\tdue\tA" + a + At(2) + "\tstarted\tby hand\tB\tdovsuite.exe -x \"b\"\r\n" +
                  At(3) + "\tmissed: not running\tdue 4 times, last " + At(6) + "\tC" +
                  "\tdovsuite.exe -process \"c.dvs\"\n" + At(7) + "\tprogram ended\n");
    dir.Write("Scheduler.log", At(8) + "\tprogram started\n" + At(9) +
                                   "\tfailed: Access is denied.\tdue\tA" + a + At(10) +
                                   "\tstarted\tdue\tt b" + tabbed + At(11) +
                                   "\tstarted\tsoon\tA" + a + "garbage\tstarted\tdue\tA" + a +
                                   At(11, 30) + "\tmissed: not running\tdue 2 times, last 0\tC" +
                                   "\tdovsuite.exe -process \"c.dvs\"\n" +
                                   At(12) + "\tstarted\tdue\tA");  // cut short
    ScheduleList list;
    ScheduleEntry b = Named("B", "b");
    b.parameters = "-x";
    for (const ScheduleEntry& e : {Named("A", "a.dvs"), b, Named("C", "c.dvs"), Named("t\tb", "t\nb.dvs"),
                                   Named("D", "d.dvs")}) {
        list.Append(e);
    }
    JournalMemory memory = ReadJournal(dir.Path());
    EXPECT_EQ(memory.lastLineAt, Instant(11, 30));
    RememberLastStarts(list, kSuite, memory);
    struct Expected {
        std::time_t at;
        bool byHand;
        const char* failure;
        const char* missed;
    } expected[] = {
        {Instant(9), false, "Access is denied.", ""},
        {Instant(2), true, "", ""},
        {Instant(6), false, "", "not running"},
        {Instant(10), false, "", ""},
        {0, false, "", ""},
    };
    for (int i = 0; i < 5; ++i) {
        const LastStart& last = list.EntryAt(i)->last_start;
        EXPECT_EQ(std::tie(last.at, last.byHand, last.failure, last.missed),
                  std::make_tuple(expected[i].at, expected[i].byHand, std::string(expected[i].failure),
                                  std::string(expected[i].missed)))
            << i;
    }
}

// A journal of 64 KiB and one byte: the one byte read last, its last line end, still counts.
TEST(JournalMemory, LastLineEndPastSixtyFourKiB) {
    TempDir dir;
    const std::string line = At(1) + "\tstarted\tdue\tA\tdovsuite.exe -process \"a.dvs\"\n";
    dir.Write("Scheduler.log", std::string(65536 - line.size(), 'x') + "\n" + line);
    EXPECT_EQ(ReadJournal(dir.Path()).lastLineAt, Instant(1));
}
