// Linked into a counting copy of Scheduler.exe for the soak: the program's own live heap
// (what its operator new holds), published in a named mapping "Local\SchedulerHeap-<pid>"
// that ui_bench reads beside the process's private memory, so growth can be told apart from
// the system libraries' own. With SCHEDULER_HEAP_LOG set, every minute (or every
// SCHEDULER_HEAP_LOG_SECONDS) it also appends to that file, for each heap of the process, the
// seconds since the start, the heap's number, its KiB in use and committed, and its blocks in use.
#include <windows.h>

#include <cstdlib>
#include <new>
#include <cstdio>

namespace {

// Made at the first allocation, before any static object of the program; no allocation here.
volatile LONG64* Live() {
    static volatile LONG64* live = [] {
        static LONG64 fallback = 0;
        char name[64];
        std::snprintf(name, sizeof(name), "Local\\SchedulerHeap-%lu", GetCurrentProcessId());
        HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(LONG64), name);
        void* view = mapping != nullptr
                         ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG64))
                         : nullptr;
        return static_cast<volatile LONG64*>(view != nullptr ? view : &fallback);
    }();
    return live;
}

// Each block keeps its size in front, 16 bytes so that alignment holds.
constexpr std::size_t kHead = 16;

}  // namespace

// Walks every heap of the process into the log file, once a minute or as often as asked.
const bool walking = [] {
    static char path[MAX_PATH];
    if (GetEnvironmentVariableA("SCHEDULER_HEAP_LOG", path, sizeof(path)) == 0) {
        return false;
    }
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
            char every[16] = "60";
            GetEnvironmentVariableA("SCHEDULER_HEAP_LOG_SECONDS", every, sizeof(every));
            const DWORD seconds = static_cast<DWORD>(std::atoi(every) > 0 ? std::atoi(every) : 60);
            for (DWORD at = 0;; at += seconds, Sleep(seconds * 1000)) {
                HANDLE heaps[64];
                DWORD count = GetProcessHeaps(64, heaps);
                FILE* log = std::fopen(path, "a");
                if (log == nullptr) {
                    continue;
                }
                for (DWORD h = 0; h < count && h < 64; ++h) {
                    unsigned long long busy = 0, committed = 0, blocks = 0;
                    PROCESS_HEAP_ENTRY entry{};
                    HeapLock(heaps[h]);
                    while (HeapWalk(heaps[h], &entry)) {
                        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                            busy += entry.cbData;
                            ++blocks;
                        } else if (entry.wFlags & PROCESS_HEAP_REGION) {
                            committed += entry.Region.dwCommittedSize;
                        }
                    }
                    HeapUnlock(heaps[h]);
                    std::fprintf(log, "%lu %lu %llu %llu %llu\n", at, h, busy / 1024,
                                 committed / 1024, blocks);
                }
                std::fclose(log);
            }
        },
        nullptr, 0, nullptr);
    return thread != nullptr;
}();

void* operator new(std::size_t size) {
    auto* block = static_cast<char*>(std::malloc(size + kHead));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *reinterpret_cast<std::size_t*>(block) = size;
    InterlockedExchangeAdd64(Live(), static_cast<LONG64>(size));
    return block + kHead;
}

void operator delete(void* p) noexcept {
    if (p == nullptr) {
        return;
    }
    char* block = static_cast<char*>(p) - kHead;
    InterlockedExchangeAdd64(Live(), -static_cast<LONG64>(*reinterpret_cast<std::size_t*>(block)));
    std::free(block);
}

void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }
