// A whole "Scheduler.cfg" through the storage: whatever loads is saved, and the saved file
// must load to the same list.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/schedule_list.h"
#include "engine/schedule_storage.h"
#include "platform/file_store.h"

namespace {

// Saves skip the flush: the disk is not what is under test.
struct NoFlushStore : PassThroughStore {
    bool Flush(Handle) override { return true; }
};

// Made once and removed at exit; never destroyed, so the exit handler may still read it.
const std::string& folder() {
    static const std::string* made = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/storage-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            return new std::string();
        }
        std::atexit([] { std::filesystem::remove_all(*made); });
        return new std::string(pattern + "/");
    }();
    return *made;
}

auto fields(const ScheduleEntry& e) {
    return std::tie(e.enable, e.type, e.day, e.month, e.year, e.hour, e.min, e.sec, e.days_week,
                    e.nday_week, e.title, e.file, e.parameters);
}

std::vector<ScheduleEntry> entries(const ScheduleList& list) {
    std::vector<ScheduleEntry> out;
    for (int i = 0; i < list.Count(); ++i) {
        out.push_back(*list.EntryAt(i));
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (folder().empty()) {
        std::abort();
    }
    std::ofstream(folder() + ScheduleStorage::kFileName, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    NoFlushStore store;
    ScheduleList list;
    ScheduleStorage storage(list, store);
    storage.SetFolders(folder(), "");
    if (!storage.Load()) {
        return 0;
    }
    std::vector<ScheduleEntry> first = entries(list);
    if (!storage.Save() || !storage.Load() || static_cast<int>(first.size()) != list.Count()) {
        std::abort();
    }
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (fields(first[i]) != fields(*list.EntryAt(static_cast<int>(i)))) {
            std::abort();
        }
    }
    return 0;
}
