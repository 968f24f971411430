#include "engine/start_journal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "platform/file_store.h"
#include "tests/support/env.h"
#include "tests/support/temp_dir.h"

#if !defined(_WIN32)  // Windows names no zone in TZ
TEST(StartJournal, OneLineOfTabSeparatedFieldsInLocalTimeWithItsOffset) {
    TimeZone zone("America/St_Johns");
    EXPECT_EQ(JournalLine(LastStart{1796693400, true, "Not\tfound.\r\n"}, "t\tb\r\n\x7f é", "a\n"),
              "2026-12-07T22:00:00-03:30\tfailed: Not found.\tby hand\tt b    é\ta \n");
    std::time_t back = 0;
    EXPECT_TRUE(ParseJournalTime("2026-12-07T22:00:00-03:30", back) && back == 1796693400);
    for (const char* bad : {"2026-12-07T22:00:00-03:3", "2026-12-07T22:00:00-03:300",
                            "2026-12-07 22:00:00-03:30", "2026-13-07T22:00:00-03:30"}) {
        EXPECT_FALSE(ParseJournalTime(bad, back)) << bad;
    }
}
#endif

TEST(StartJournal, TurnsOverAtTheLimitIntoTheOlderGenerationAndMakesTheDataFolder) {
    const int kFull = StartJournal::kTurnOverSize;
#if !defined(_WIN32)
    auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    const auto opened = openFiles();
#endif
    for (int size : {-1, kFull - 1, kFull, kFull + 9}) {  // of the journal before; -1: no folder
        TempDir dir;
        const bool turned = size >= kFull;
        std::string before(size < 0 ? 0 : size, 'x'), line = JournalLine({}, "t", "x.exe");
        if (size >= 0) {
            dir.MakeFolder("d");
            dir.Write("d/Scheduler.log", before);
            dir.Write("d/Scheduler.log.1", "older");
        }
        StartJournal journal(SystemFileStore());
        journal.SetFolder(dir.File("d/"));
        journal.Record({}, "t", "x.exe");
        journal.Close(std::chrono::seconds(10));
        journal.Record({}, "after closing", "x.exe");  // dropped
        journal.Close(std::chrono::seconds(10));
        EXPECT_TRUE(dir.Read("d/Scheduler.log") == (turned ? line : before + line)) << size;
        EXPECT_EQ(dir.Read("d/Scheduler.log.1").size(), turned ? before.size() : 5 * (size >= 0));
    }
#if !defined(_WIN32)
    EXPECT_EQ(openFiles(), opened);  // nothing left open
#endif
}
