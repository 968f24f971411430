#pragma once

#include <mutex>
#include <utility>
#include <vector>

#include "engine/schedule_entry.h"

// The ordered list of schedules. Positions from 0 are the indexes used by the list view,
// the commands and the launcher.
//
// Threads: the user interface thread is the only one that changes the list; every change
// holds the lock for its whole length. The polling thread reads through WithEntry, which
// holds the lock while it looks at one entry, so it never sees a change half done. The
// changing thread may read without the lock (nobody else writes what it reads, apart from
// the latches and the last starts, which the starting threads set through WithEntry and
// which are read through it too).
class ScheduleList {
public:
    int Count() const;
    bool IsEmpty() const { return Count() == 0; }

    // Appends a copy of the entry with a clear latch. False, with the list as it was, when
    // there is no memory for it.
    bool Append(const ScheduleEntry& entry);
    // Appends a blank entry and returns it, or nullptr when the list cannot grow. The entry
    // stays put until the next append; used by loading, before the polling thread exists.
    ScheduleEntry* AppendBlank();
    // The entry at the position, or nullptr outside the list. For the changing thread.
    ScheduleEntry* EntryAt(int position);
    const ScheduleEntry* EntryAt(int position) const;
    // Assigns the entry's values to the slot; its latch stays. False outside the list.
    bool Replace(int position, const ScheduleEntry& entry);
    // Removes the entry; later entries move down with their latches. False outside the list.
    bool Remove(int position);
    void Clear();

    // Calls fn(entry) with the lock held and returns true, or returns false when the
    // position is outside the list.
    template <class Fn>
    bool WithEntry(int position, Fn&& fn) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (position < 0 || position >= static_cast<int>(entries_.size())) {
            return false;
        }
        std::forward<Fn>(fn)(entries_[static_cast<size_t>(position)]);
        return true;
    }

private:
    bool inside(int position) const {
        return position >= 0 && position < static_cast<int>(entries_.size());
    }

    mutable std::mutex mutex_;
    std::vector<ScheduleEntry> entries_;
};

// The one list of the running program.
ScheduleList& TheScheduleList();
