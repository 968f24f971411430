#include "engine/schedule_storage.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/schedule_list.h"
#include "platform/file_store.h"
#include "platform/user_folders.h"
#include "tests/support/schedule.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string kHeader = ScheduleFileHeader();

ScheduleEntry NightlyImport() {
    ScheduleEntry e = MakeEntry(Daily, 0, 0, 0, 2, 30, 0, kWorkDays, 0, "C:\\Work\\site.dvs");
    e.title = "Nightly import";
    return e;
}

ScheduleEntry YearEnd() {
    ScheduleEntry e = MakeEntry(Yearly, 31, 11, 0, 23, 59, 30, 0, 0, "D:\\Logs\\archive.dvs");
    e.enable = 0;
    e.title = "Year end";
    e.parameters = "-process";
    return e;
}

class Storage : public ::testing::Test {
protected:
    Storage() : storage_(list_) {
        sep_ = std::string(1, PathSeparator());
        storage_.SetFolders(dir_.File("data") + sep_, dir_.File("program") + sep_);
        dir_.MakeFolder("program");
    }
    std::string Data(const std::string& name) { return "data" + sep_ + name; }
    std::string Program(const std::string& name) { return "program" + sep_ + name; }

    TempDir dir_;
    std::string sep_;
    ScheduleList list_;
    ScheduleStorage storage_;
};

TEST_F(Storage, WritesTheTwoScheduleExampleByteForByte) {
    list_.Append(NightlyImport());
    list_.Append(YearEnd());
    ASSERT_TRUE(storage_.Save());
    EXPECT_EQ(
        dir_.Read(Data("Scheduler.cfg")),
        kHeader +
            "\r\n[Schedule]\r\ntitle=\"Nightly import\"\r\nfile=\"C:\\\\Work\\\\site.dvs\"\r\n"
            "type=2\r\nhour=2\r\nmin=30\r\ndays_week=31\r\n[Schedule]\r\nenable=0\r\n"
            "title=\"Year end\"\r\nfile=\"D:\\\\Logs\\\\archive.dvs\"\r\nparameters=\"-process\""
            "\r\ntype=5\r\nday=31\r\nmonth=11\r\nhour=23\r\nmin=59\r\nsec=30\r\n");

    ScheduleList back;
    ScheduleStorage reader(back);
    reader.SetFolders(storage_.DataFolder(), storage_.ProgramFolder());
    ASSERT_TRUE(reader.Load());
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(Fields(*back.EntryAt(0)), Fields(NightlyImport()));
    EXPECT_EQ(Fields(*back.EntryAt(1)), Fields(YearEnd()));
}

TEST_F(Storage, EmptyListAndAllDefaultRecords) {
    ASSERT_TRUE(storage_.Save());
    EXPECT_EQ(dir_.Read(Data("Scheduler.cfg")), kHeader);
    ScheduleEntry defaults;
    defaults.enable = 1;  // every value its default: only the headers remain
    list_.Append(defaults);
    list_.Append(defaults);
    ASSERT_TRUE(storage_.Save());
    EXPECT_EQ(dir_.Read(Data("Scheduler.cfg")), kHeader + "\r\n[Schedule]\r\n[Schedule]");
    ASSERT_TRUE(storage_.Load());
    ASSERT_EQ(list_.Count(), 2);
    EXPECT_EQ(list_.EntryAt(1)->enable, 1);
}

TEST_F(Storage, RandomListsRoundTrip) {
    std::mt19937 gen(11);
    for (int round = 0; round < 50; ++round) {
        list_.Clear();
        std::vector<ScheduleEntry> made;
        for (int n = static_cast<int>(gen() % 6); n > 0; --n) {
            ScheduleEntry e;
            std::int16_t* numbers[] = {&e.enable, &e.type, &e.day, &e.month,     &e.year,
                                       &e.hour,   &e.min,  &e.sec, &e.days_week, &e.nday_week};
            for (std::int16_t* v : numbers) {
                *v = static_cast<std::int16_t>(gen() % 3 == 0 ? gen() : gen() % 4);
            }
            for (std::string* t : {&e.title, &e.file, &e.parameters}) {
                for (int k = static_cast<int>(gen() % 8); k > 0; --k) {
                    *t += "a \"\\\n[]=/*x"[gen() % 11];
                }
            }
            made.push_back(e);
            list_.Append(e);
        }
        ASSERT_TRUE(storage_.Save());
        list_.Clear();
        ASSERT_TRUE(storage_.Load());
        ASSERT_EQ(list_.Count(), static_cast<int>(made.size()));
        for (size_t i = 0; i < made.size(); ++i) {
            EXPECT_EQ(Fields(*list_.EntryAt(static_cast<int>(i))), Fields(made[i]));
        }
    }
}

// A read ends at a Ctrl-Z byte; one in a text (pasted, or read from an older copy's file)
// must not cut off the schedules after it at the next save.
TEST_F(Storage, CtrlZInATextLosesNoSchedule) {
    ScheduleEntry odd = NightlyImport();
    odd.title = "Night\x1Aly";
    odd.parameters = "\x1A";
    list_.Append(YearEnd());
    list_.Append(odd);
    list_.Append(NightlyImport());
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(storage_.Save());
        list_.Clear();
        ASSERT_TRUE(storage_.Load());
    }
    ASSERT_EQ(list_.Count(), 3);
    EXPECT_EQ(list_.EntryAt(1)->title, "Nightly");
    EXPECT_EQ(list_.EntryAt(1)->parameters, "");
    EXPECT_EQ(Fields(*list_.EntryAt(2)), Fields(NightlyImport()));
}

TEST_F(Storage, DataFolderFirstThenProgramFolder) {
    const std::string one = "FormatVersion=1.0\r\n[Schedule]\r\ntitle=\"from data\"\r\n";
    const std::string two = "FormatVersion=1.0\r\n[Schedule]\r\ntitle=\"from program\"\r\n";
    dir_.Write(Program("Scheduler.cfg"), two);
    ASSERT_TRUE(storage_.Load());
    ASSERT_EQ(list_.Count(), 1);
    EXPECT_EQ(list_.EntryAt(0)->title, "from program");

    // The first save writes the data folder, creating it, and never the program folder.
    list_.EntryAt(0)->title = "changed";
    ASSERT_TRUE(storage_.Save());
    EXPECT_EQ(dir_.Read(Program("Scheduler.cfg")), two);
    EXPECT_NE(dir_.Read(Data("Scheduler.cfg")).find("title=\"changed\""), std::string::npos);
    EXPECT_FALSE(dir_.Exists(Data("Scheduler.cfg.bad")));

    dir_.Write(Data("Scheduler.cfg"), one);
    ASSERT_TRUE(storage_.Load());
    EXPECT_EQ(list_.EntryAt(0)->title, "from data");
}

TEST_F(Storage, DamagedDataFileIsKeptBesideAtTheFirstSave) {
    const std::string damaged =
        "FormatVersion=1.0\r\n[Schedule]\r\ntitle=\"hand edited\"\r\noops\r\n";
    dir_.MakeFolder("data");
    dir_.Write(Data("Scheduler.cfg"), damaged);
    EXPECT_FALSE(storage_.Load());
    EXPECT_EQ(list_.Count(), 0);  // no program folder file either

    list_.Append(NightlyImport());
    ASSERT_TRUE(storage_.Save());
    EXPECT_EQ(dir_.Read(Data("Scheduler.cfg.bad")), damaged);
    // Later saves of the run leave the kept file alone.
    dir_.Write(Data("Scheduler.cfg.bad"), "kept");
    ASSERT_TRUE(storage_.Save());
    EXPECT_EQ(dir_.Read(Data("Scheduler.cfg.bad")), "kept");
}

TEST_F(Storage, BadVersionIsNotReadAtAll) {
    dir_.MakeFolder("data");
    dir_.Write(Data("Scheduler.cfg"), "FormatVersion=1.5\r\n[Schedule]\r\ntitle=\"x\"\r\n");
    EXPECT_FALSE(storage_.Load());
    EXPECT_EQ(list_.Count(), 0);
}

TEST_F(Storage, SaveMakesEveryMissingLevelOrNamesWhyNot) {
    // A data folder under a plain file can never be made: the system says why.
    dir_.Write("plain", "x");
    storage_.SetFolders(dir_.File("plain") + sep_ + "data" + sep_, "");
    EXPECT_FALSE(storage_.Save());
    const std::string reason = storage_.LastError();
    EXPECT_TRUE(sep_ == "/" ? reason == "Not a directory" : !reason.empty()) << reason;
    EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos);
    // The folder is there but a folder holds the file's name: the file's own reason.
    if (sep_ == "/") {  // where rename(2) refuses a folder at the name
        dir_.MakeFolder("taken");
        dir_.MakeFolder("taken/Scheduler.cfg");
        dir_.Write("taken/Scheduler.cfg/x", "");
        storage_.SetFolders(dir_.File("taken/"), "");
        EXPECT_FALSE(storage_.Save());
        EXPECT_EQ(storage_.LastError(), "Is a directory");
    }
    // A fresh account has not even the parents of the data folder.
    const std::string deep = "missing" + sep_ + "deeper" + sep_;
    storage_.SetFolders(dir_.File(deep), "");
    EXPECT_TRUE(storage_.Save());
    EXPECT_EQ(storage_.SavePath(), dir_.File(deep + "Scheduler.cfg"));
    EXPECT_TRUE(dir_.Exists(deep + "Scheduler.cfg"));
    EXPECT_EQ(storage_.LastError(), "");
    storage_.SetFolders("", "");
    EXPECT_FALSE(storage_.Save());
    EXPECT_EQ(storage_.SavePath(), "");
}

}  // namespace
