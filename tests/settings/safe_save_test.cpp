#include <gtest/gtest.h>

#include <string>

#include "platform/system_error.h"
#include "tests/settings/test_schema.h"
#include "tests/support/temp_dir.h"

namespace {

enum class Step { None, Create, Write, Flush, Close, KeepCopy, Replace };

// The system's store with one step made to fail, leaving an error code of its own: none at all
// for Create, EPERM or ERROR_INVALID_FUNCTION for Write and so on.
class FaultyStore final : public PassThroughStore {
public:
    Step failing = Step::None;

    Handle Create(const std::string& path) override {
        return fails(Step::Create) ? kInvalid : SystemFileStore().Create(path);
    }
    bool Write(Handle file, const char* data, std::size_t size) override {
        if (fails(Step::Write)) {
            SystemFileStore().Write(file, data, size / 2);  // a short write
            return false;
        }
        return SystemFileStore().Write(file, data, size);
    }
    bool Flush(Handle file) override {
        return !fails(Step::Flush) && SystemFileStore().Flush(file);
    }
    bool Close(Handle file) override {
        bool closed = SystemFileStore().Close(file);
        return !fails(Step::Close) && closed;
    }
    bool KeepCopy(const std::string& path, const std::string& copy) override {
        return !fails(Step::KeepCopy) && SystemFileStore().KeepCopy(path, copy);
    }
    bool Replace(const std::string& from, const std::string& to) override {
        return !fails(Step::Replace) && SystemFileStore().Replace(from, to);
    }

private:
    bool fails(Step step) {
        if (failing == step) {
            SetLastSystemError(static_cast<int>(step) - 1);
        }
        return failing == step;
    }
};

class SafeSave : public ::testing::Test {
protected:
    SafeSave()
        : sections_{{"Item", kItemKeys, 2,
                     [this](SettingsOp op, std::int32_t i, std::int32_t* out) -> void* {
                         if (op == OpCount) {
                             *out = static_cast<std::int32_t>(items_.size());
                         }
                         return op == OpRecord ? &items_[static_cast<size_t>(i)] : nullptr;
                     }}},
          file_("Test", 1.0, sections_, 1, store_) {
        items_ = {{"new", 2}};
    }

    // Only the files a test expects may remain in the folder.
    void ExpectOnly(std::initializer_list<std::string> names) {
        for (const std::string& name :
             {std::string("a.cfg"), std::string("a.cfg.bad"), TemporaryPathFor("a.cfg")}) {
            bool expected = std::find(names.begin(), names.end(), name) != names.end();
            EXPECT_EQ(dir_.Exists(name), expected) << name;
        }
    }

    TempDir dir_;
    FaultyStore store_;
    std::deque<Item> items_;
    SettingsSection sections_[1];
    SettingsFile file_;
};

TEST_F(SafeSave, AnyFailingStepLeavesTheOldFileByteForByte) {
    const std::string old = "old bytes\r\n\x1A kept as they are";
    for (Step step : {Step::Create, Step::Write, Step::Flush, Step::Close, Step::Replace}) {
        SCOPED_TRACE(static_cast<int>(step));
        dir_.Write("a.cfg", old);
        store_.failing = step;
        EXPECT_FALSE(file_.SaveAs(nullptr, dir_.File("a.cfg"), false));
        EXPECT_EQ(dir_.Read("a.cfg"), old);
        EXPECT_FALSE(dir_.Exists(TemporaryPathFor("a.cfg")));
        // The reason is the failing step's, not that of the clean-up after it.
        const int code = static_cast<int>(step) - 1;
        EXPECT_EQ(file_.LastError(), code == 0 ? "Unknown error" : SystemErrorText(code));
    }
    store_.failing = Step::None;
    EXPECT_TRUE(file_.Save(nullptr, false));
    EXPECT_EQ(file_.LastError(), "");
    EXPECT_EQ(dir_.Read("a.cfg"), Crlf(TestHeader() + "\n[Item]\nname=\"new\"\ncount=2\n"));
    ExpectOnly({"a.cfg"});
}

TEST_F(SafeSave, FailedCreateKeepsItsReport) {
    Reports reports;
    // A folder that does not exist cannot be written, root or not.
    for (auto [path, alert, level] :
         {std::tuple{dir_.File("no-such-folder") + "/a.cfg", true, 0x8A2u},
          std::tuple{dir_.File("plain-file") + "/a.cfg", false, 0x822u}}) {
        dir_.Write("plain-file", "x");
        EXPECT_FALSE(file_.SaveAs(nullptr, path, alert));
        EXPECT_EQ(reports.Level("Could not write to file '" + path + "'.\nAccess is denied."),
                  level);
    }
}

TEST_F(SafeSave, KeepsThePreviousFileOnceWhenAsked) {
    dir_.Write("a.cfg", "damaged");
    file_.KeepPreviousFileOnce(dir_.File("a.cfg.bad"));
    // No copy, no save: the damaged file would be lost.
    store_.failing = Step::KeepCopy;
    EXPECT_FALSE(file_.SaveAs(nullptr, dir_.File("a.cfg"), false));
    EXPECT_EQ(file_.LastError(), SystemErrorText(static_cast<int>(Step::KeepCopy) - 1));
    ExpectOnly({"a.cfg"});
    // The final replace fails: the damaged file never left its place.
    store_.failing = Step::Replace;
    EXPECT_FALSE(file_.Save(nullptr, false));
    EXPECT_EQ(dir_.Read("a.cfg"), "damaged");
    ExpectOnly({"a.cfg", "a.cfg.bad"});

    store_.failing = Step::None;
    EXPECT_TRUE(file_.Save(nullptr, false));
    EXPECT_EQ(dir_.Read("a.cfg.bad"), "damaged");
    ExpectOnly({"a.cfg", "a.cfg.bad"});
    // Once only: the next save replaces the file without touching the kept one.
    dir_.Write("a.cfg.bad", "kept");
    EXPECT_TRUE(file_.Save(nullptr, false));
    EXPECT_EQ(dir_.Read("a.cfg.bad"), "kept");
}

TEST_F(SafeSave, StaleTemporaryFileIsNeitherReadNorInTheWay) {
    dir_.Write(TemporaryPathFor("a.cfg"), "FormatVersion=1.0\r\n[Item]\r\nname=\"stale\"");
    dir_.Write("a.cfg.999999.tmp", "left by a save whose process was killed");
    dir_.Write("a.cfg", "FormatVersion=1.0\r\n[Item]\r\nname=\"real\"");
    TestSettings reader;
    EXPECT_TRUE(reader.File().Load(nullptr, dir_.File("a.cfg"), 0));
    ASSERT_EQ(reader.items.size(), 1u);
    EXPECT_EQ(reader.items[0].name, "real");
    EXPECT_TRUE(file_.SaveAs(nullptr, dir_.File("a.cfg"), false));
    ExpectOnly({"a.cfg"});
    EXPECT_FALSE(dir_.Exists("a.cfg.999999.tmp"));
}

}  // namespace
