#include "engine/schedule_list.h"

#include <new>

int ScheduleList::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(entries_.size());
}

bool ScheduleList::Append(const ScheduleEntry& entry) {
    try {
        ScheduleEntry copy;
        copy.Assign(entry);
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.push_back(std::move(copy));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

ScheduleEntry* ScheduleList::AppendBlank() {
    try {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.emplace_back();
        return &entries_.back();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

ScheduleEntry* ScheduleList::EntryAt(int position) {
    std::lock_guard<std::mutex> lock(mutex_);
    return inside(position) ? &entries_[static_cast<size_t>(position)] : nullptr;
}

const ScheduleEntry* ScheduleList::EntryAt(int position) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return inside(position) ? &entries_[static_cast<size_t>(position)] : nullptr;
}

bool ScheduleList::Replace(int position, const ScheduleEntry& entry) {
    try {
        // Copy the texts first so a failed allocation leaves the slot untouched.
        ScheduleEntry copy;
        copy.Assign(entry);
        std::lock_guard<std::mutex> lock(mutex_);
        if (!inside(position)) {
            return false;
        }
        ScheduleEntry& slot = entries_[static_cast<size_t>(position)];
        copy.fired = slot.fired;
        copy.last_start = std::move(slot.last_start);
        slot = std::move(copy);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ScheduleList::Remove(int position) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!inside(position)) {
        return false;
    }
    entries_.erase(entries_.begin() + position);
    return true;
}

void ScheduleList::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.clear();
}

ScheduleList& TheScheduleList() {
    static ScheduleList list;
    return list;
}
