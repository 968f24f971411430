#include "engine/schedule_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/support/alloc_failure.h"
#include "tests/support/schedule.h"

namespace {
std::string Titles(const ScheduleList& list) {
    std::string out;
    for (int i = 0; i < list.Count(); ++i) {
        out += list.EntryAt(i)->title + ":" + std::to_string(list.EntryAt(i)->fired) + " ";
    }
    return out;
}
}  // namespace

TEST(ScheduleList, AppendPutsNewEntryLastWithClearLatchAndRangeChecks) {
    ScheduleList list;
    EXPECT_TRUE(list.IsEmpty());
    ScheduleEntry a = Named("a");
    a.fired = 1;
    ASSERT_TRUE(list.Append(a));
    ASSERT_TRUE(list.Append(Named("b")));
    ScheduleEntry* blank = list.AppendBlank();
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->enable, 0);
    EXPECT_EQ(Titles(list), "a:0 b:0 :0 ");
    EXPECT_EQ(list.EntryAt(3), nullptr);
    EXPECT_EQ(list.EntryAt(-1), nullptr);
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.EntryAt(0), nullptr);
}

TEST(ScheduleList, RemoveMovesLatchesWithTheirEntries) {
    struct Case {
        int position;
        const char* expected;
        bool removed;
    } cases[] = {
        {0, "b:0 c:1 ", true},       {1, "a:1 c:1 ", true},      {2, "a:1 b:0 ", true},
        {-1, "a:1 b:0 c:1 ", false}, {3, "a:1 b:0 c:1 ", false},
    };
    for (const Case& c : cases) {
        ScheduleList list;
        for (const char* t : {"a", "b", "c"}) {
            list.Append(Named(t));
        }
        list.EntryAt(0)->fired = 1;
        list.EntryAt(2)->fired = 1;
        EXPECT_EQ(list.Remove(c.position), c.removed) << c.position;
        EXPECT_EQ(Titles(list), c.expected) << c.position;
    }
}

TEST(ScheduleList, ReplaceKeepsPositionAndLatch) {
    ScheduleList list;
    list.Append(Named("a"));
    list.Append(Named("b"));
    list.EntryAt(1)->fired = 1;
    EXPECT_TRUE(list.Replace(1, Named("B")));
    EXPECT_EQ(Titles(list), "a:0 B:1 ");
    EXPECT_FALSE(list.Replace(-1, Named("x")));
    EXPECT_FALSE(list.Replace(2, Named("x")));
    EXPECT_EQ(Titles(list), "a:0 B:1 ");
}

TEST(ScheduleList, FailedAppendOrReplaceLosesNothing) {
    if (!AllocationFailure::Supported()) {
        GTEST_SKIP() << "operator new belongs to the sanitizer";
    }
    ScheduleList list;
    list.Append(Named("kept one"));
    list.Append(Named("kept two"));
    const ScheduleEntry big = Named(std::string(200, 't'));  // its copy needs the heap
    for (int allowed = 0; allowed < 3; ++allowed) {
        bool ok;
        {
            AllocationFailure fail(allowed);
            ok = list.Append(big);
        }
        if (ok) {
            EXPECT_EQ(list.Count(), 3);
            list.Remove(2);
        } else {
            EXPECT_EQ(list.Count(), 2) << allowed;
        }
        EXPECT_EQ(list.EntryAt(0)->title, "kept one");
        EXPECT_EQ(list.EntryAt(1)->title, "kept two");
    }
    bool replaced;
    {
        AllocationFailure fail(0);
        replaced = list.Replace(0, big);
    }
    EXPECT_FALSE(replaced);
    EXPECT_EQ(list.EntryAt(0)->title, "kept one");
    ScheduleList fresh;  // no storage yet, so growing it must allocate
    ScheduleEntry* blank;
    {
        AllocationFailure fail(0);
        blank = fresh.AppendBlank();
    }
    EXPECT_EQ(blank, nullptr);
    EXPECT_EQ(fresh.Count(), 0);
}

// Readers walk the list as the polling thread does while a writer changes it; run in the
// ThreadSanitizer build this proves every access is ordered by the list's lock.
TEST(ScheduleList, ConcurrentReadersAndWriter) {
    ScheduleList list;
    for (int i = 0; i < 8; ++i) {
        list.Append(Named("seed " + std::to_string(i)));
    }
    std::atomic<bool> stop{false};
    std::atomic<long> seen{0};
    auto reader = [&] {
        while (!stop.load()) {
            for (int pos = 0; pos < list.Count(); ++pos) {
                list.WithEntry(pos, [&](ScheduleEntry& e) {
                    e.fired = e.fired ? 0 : 1;
                    if (!e.title.empty()) {
                        seen.fetch_add(1, std::memory_order_relaxed);
                    }
                });
            }
        }
    };
    std::thread r1(reader);
    std::thread r2(reader);
    // Keep changing the list until both readers have been through it many times.
    for (int round = 0; round < 2000 || seen.load() < 10000; ++round) {
        list.Append(Named("added " + std::to_string(round)));
        list.Replace(round % list.Count(), Named("replaced " + std::to_string(round)));
        list.Remove((round * 7) % list.Count());
        if (list.Count() > 64) {
            list.Remove(0);
        }
    }
    stop = true;
    r1.join();
    r2.join();
    EXPECT_GT(seen.load(), 0);
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_FALSE(list.EntryAt(i)->title.empty());
    }
}
