#include "engine/schedule_storage.h"

#include <iterator>

#include "engine/schedule_list.h"
#include "platform/file_store.h"
#include "platform/system_error.h"

namespace {

using K = SettingsKind;

// The "Schedule" section: one copy per entry, keys in the order they are written.
const SettingsKey kScheduleKeys[] = {
    SettingsKey::Make<K::KindShort, &ScheduleEntry::enable>("enable").WithDefault(1),
    SettingsKey::Make<K::KindText, &ScheduleEntry::title>("title"),
    SettingsKey::Make<K::KindText, &ScheduleEntry::file>("file"),
    SettingsKey::Make<K::KindText, &ScheduleEntry::parameters>("parameters"),
    SettingsKey::Make<K::KindShort, &ScheduleEntry::type>("type"),
    SettingsKey::Make<K::KindShort, &ScheduleEntry::day>("day"),
    SettingsKey::Make<K::KindShort, &ScheduleEntry::month>("month"),
    SettingsKey::Make<K::KindShort, &ScheduleEntry::year>("year"),
    SettingsKey::Make<K::KindShort, &ScheduleEntry::hour>("hour"),
    SettingsKey::Make<K::KindShort, &ScheduleEntry::min>("min"),
    SettingsKey::Make<K::KindShort, &ScheduleEntry::sec>("sec"),
    SettingsKey::Make<K::KindShort, &ScheduleEntry::nday_week>("nday_week"),
    SettingsKey::Make<K::KindShort, &ScheduleEntry::days_week>("days_week"),
};

RecordAccessor accessorOver(ScheduleList& list) {
    return [&list](SettingsOp op, std::int32_t index, std::int32_t* out) -> void* {
        switch (op) {
            case OpCount:
                *out = list.Count();
                return nullptr;
            case OpRecord:
                return list.EntryAt(index);
            case OpAppend:
                return list.AppendBlank();
            case OpClear:
                list.Clear();
                return nullptr;
        }
        return nullptr;
    };
}

}  // namespace

ScheduleStorage::ScheduleStorage(ScheduleList& list) : ScheduleStorage(list, SystemFileStore()) {}

ScheduleStorage::ScheduleStorage(ScheduleList& list, FileStore& store)
    : list_(list),
      store_(store),
      section_{"Schedule", kScheduleKeys, static_cast<std::int32_t>(std::size(kScheduleKeys)),
               accessorOver(list)},
      file_("Scheduler", 1.0, &section_, 1, store) {}

void ScheduleStorage::SetFolders(const std::string& dataFolder, const std::string& programFolder) {
    dataFolder_ = dataFolder;
    programFolder_ = programFolder;
}

const std::string& ScheduleStorage::DataFolder() const {
    return dataFolder_;
}

const std::string& ScheduleStorage::ProgramFolder() const {
    return programFolder_;
}

bool ScheduleStorage::Load() {
    keepDamagedFile_ = false;
    if (!dataFolder_.empty()) {
        std::string path = dataFolder_ + kFileName;
        if (file_.Load(nullptr, path, 0)) {
            return true;
        }
        keepDamagedFile_ = store_.Exists(path);
    }
    if (!programFolder_.empty() && file_.Load(nullptr, programFolder_ + kFileName, 0)) {
        return true;
    }
    if (programFolder_.empty()) {
        list_.Clear();  // as the second attempt would have
    }
    return false;
}

std::string ScheduleStorage::SavePath() const {
    return dataFolder_.empty() ? std::string() : dataFolder_ + kFileName;
}

const std::string& ScheduleStorage::LastError() const {
    return lastError_;
}

bool ScheduleStorage::Save() {
    lastError_.clear();
    if (dataFolder_.empty()) {
        lastError_ = SystemErrorText(kSystemErrorPathNotFound);
        return false;
    }
    // A product that never made its folder must not cost the user every schedule.
    std::string folder = dataFolder_.substr(0, dataFolder_.size() - 1);
    std::string folderError;  // the better reason when the file cannot be created then
    if (!folder.empty() && !store_.Exists(dataFolder_) && !store_.CreateFolder(folder)) {
        folderError = SystemErrorText(LastSystemError());
    }
    std::string path = SavePath();
    if (keepDamagedFile_) {
        file_.KeepPreviousFileOnce(path + kDamagedSuffix);
    }
    if (!file_.SaveAs(nullptr, path, false)) {
        lastError_ = folderError.empty() ? file_.LastError() : folderError;
        return false;
    }
    keepDamagedFile_ = false;
    return true;
}

ScheduleStorage& TheScheduleStorage() {
    static ScheduleStorage storage(TheScheduleList());
    return storage;
}
