// The settings file against plain peers, on one 10,000-schedule file:
//   Load      vs inih reading the same records as an INI file (one section per schedule)
//   Save      (without the flush to disk) vs one fprintf per line
//   the safe replace (flush and rename) on its own
#include <benchmark/benchmark.h>
#include <ini.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/schedule_list.h"
#include "engine/schedule_storage.h"
#include "platform/file_store.h"

namespace {

constexpr int kSchedules = 10000;

// The system's store without the flush, which is a fixed cost of the disk, not of the writer.
class NoFlushStore final : public PassThroughStore {
public:
    bool Flush(Handle) override { return true; }
};

struct Files {
    Files() {
        folder = (std::filesystem::temp_directory_path() /
                  ("settings-bench-" + std::to_string(std::random_device{}())))
                     .string() +
                 "/";
        std::filesystem::create_directories(folder);
        std::mt19937 gen(3);
        for (int i = 0; i < kSchedules; ++i) {
            ScheduleEntry e;
            e.enable = static_cast<std::int16_t>(gen() % 4 != 0);
            e.title = "Schedule number " + std::to_string(i);
            e.file = "C:/Work/project " + std::to_string(gen() % 1000) + "/site.dvs";
            if (gen() % 3 == 0) {
                e.parameters = "-process -quiet";
            }
            e.type = static_cast<std::int16_t>(gen() % 6);
            e.day = static_cast<std::int16_t>(1 + gen() % 28);
            e.month = static_cast<std::int16_t>(gen() % 12);
            e.year = 2026;
            e.hour = static_cast<std::int16_t>(gen() % 24);
            e.min = static_cast<std::int16_t>(gen() % 60);
            e.sec = static_cast<std::int16_t>(gen() % 60);
            e.days_week = static_cast<std::int16_t>(gen() % 128);
            e.nday_week = static_cast<std::int16_t>(gen() % 7);
            entries.push_back(e);
            list.Append(e);
        }
        ScheduleStorage storage(list);
        storage.SetFolders(folder, "");
        storage.Save();
        cfgPath = folder + "Scheduler.cfg";
        iniPath = folder + "Scheduler.ini";
        WriteIni();
    }
    ~Files() { std::filesystem::remove_all(folder); }

    // The same records, one "[ScheduleN]" section each, key=value lines without quotes.
    void WriteIni() const {
        std::FILE* f = std::fopen(iniPath.c_str(), "wb");
        for (size_t i = 0; i < entries.size(); ++i) {
            const ScheduleEntry& e = entries[i];
            std::fprintf(f, "[Schedule%zu]\r\n", i);
            if (e.enable != 1)
                std::fprintf(f, "enable=%d\r\n", e.enable);
            std::fprintf(f, "title=%s\r\nfile=%s\r\n", e.title.c_str(), e.file.c_str());
            if (!e.parameters.empty())
                std::fprintf(f, "parameters=%s\r\n", e.parameters.c_str());
            const std::pair<const char*, int> numbers[] = {{"type", e.type},
                                                           {"day", e.day},
                                                           {"month", e.month},
                                                           {"year", e.year},
                                                           {"hour", e.hour},
                                                           {"min", e.min},
                                                           {"sec", e.sec},
                                                           {"nday_week", e.nday_week},
                                                           {"days_week", e.days_week}};
            for (const auto& [name, value] : numbers) {
                if (value != 0)
                    std::fprintf(f, "%s=%d\r\n", name, value);
            }
        }
        std::fclose(f);
    }

    std::string folder, cfgPath, iniPath;
    std::vector<ScheduleEntry> entries;
    ScheduleList list;
};

Files& files() {
    static Files f;
    return f;
}

std::int64_t fileSize(const std::string& path) {
    return static_cast<std::int64_t>(std::filesystem::file_size(path));
}

void BM_Load(benchmark::State& state) {
    ScheduleList list;
    ScheduleStorage storage(list);
    storage.SetFolders(files().folder, "");
    for (auto _ : state) {
        if (!storage.Load() || list.Count() != kSchedules) {
            state.SkipWithError("load failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * fileSize(files().cfgPath));
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

struct InihTarget {
    std::vector<ScheduleEntry> entries;
    std::string section;
};

int inihHandler(void* user, const char* section, const char* name, const char* value) {
    auto* t = static_cast<InihTarget*>(user);
    if (t->entries.empty() || t->section != section) {
        t->section = section;
        ScheduleEntry& e = t->entries.emplace_back();
        e.enable = 1;
    }
    ScheduleEntry& e = t->entries.back();
    auto number = [&] { return static_cast<std::int16_t>(std::atoi(value)); };
    if (!strcasecmp(name, "enable"))
        e.enable = number();
    else if (!strcasecmp(name, "title"))
        e.title = value;
    else if (!strcasecmp(name, "file"))
        e.file = value;
    else if (!strcasecmp(name, "parameters"))
        e.parameters = value;
    else if (!strcasecmp(name, "type"))
        e.type = number();
    else if (!strcasecmp(name, "day"))
        e.day = number();
    else if (!strcasecmp(name, "month"))
        e.month = number();
    else if (!strcasecmp(name, "year"))
        e.year = number();
    else if (!strcasecmp(name, "hour"))
        e.hour = number();
    else if (!strcasecmp(name, "min"))
        e.min = number();
    else if (!strcasecmp(name, "sec"))
        e.sec = number();
    else if (!strcasecmp(name, "nday_week"))
        e.nday_week = number();
    else if (!strcasecmp(name, "days_week"))
        e.days_week = number();
    else
        return 0;
    return 1;
}

void BM_InihLoad(benchmark::State& state) {
    for (auto _ : state) {
        InihTarget target;
        if (ini_parse(files().iniPath.c_str(), inihHandler, &target) != 0 ||
            target.entries.size() != kSchedules) {
            state.SkipWithError("inih failed");
        }
        benchmark::DoNotOptimize(target.entries.data());
    }
    state.SetBytesProcessed(state.iterations() * fileSize(files().iniPath));
}
BENCHMARK(BM_InihLoad)->Unit(benchmark::kMillisecond);

void BM_SaveWithoutFlush(benchmark::State& state) {
    NoFlushStore store;
    ScheduleStorage storage(files().list, store);
    std::string folder = files().folder + "save/";
    storage.SetFolders(folder, "");
    for (auto _ : state) {
        if (!storage.Save()) {
            state.SkipWithError("save failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * fileSize(folder + "Scheduler.cfg"));
}
BENCHMARK(BM_SaveWithoutFlush)->Unit(benchmark::kMillisecond);

// The plain peer: the same lines, one fprintf each, straight into the file.
void BM_FprintfWriter(benchmark::State& state) {
    std::string path = files().folder + "plain.cfg";
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fprintf(f,
                     "/** %-72s**\r\n ** %-72s**\r\n ** DO NOT EDIT THIS FILE%51s**/\r\n\r\n"
                     "FormatVersion=%0.1f\r\n",
                     "Scheduler Scheduler", "Scheduler Generated", "", 1.0);
        for (const ScheduleEntry& e : files().entries) {
            std::fprintf(f, "\r\n[%s]", "Schedule");
            if (e.enable != 1)
                std::fprintf(f, "\r\n%s=%i", "enable", e.enable);
            std::fprintf(f, "\r\n%s=\"%s\"", "title", e.title.c_str());
            std::fprintf(f, "\r\n%s=\"%s\"", "file", e.file.c_str());
            if (!e.parameters.empty())
                std::fprintf(f, "\r\n%s=\"%s\"", "parameters", e.parameters.c_str());
            if (e.type)
                std::fprintf(f, "\r\n%s=%i", "type", e.type);
            if (e.day)
                std::fprintf(f, "\r\n%s=%i", "day", e.day);
            if (e.month)
                std::fprintf(f, "\r\n%s=%i", "month", e.month);
            if (e.year)
                std::fprintf(f, "\r\n%s=%i", "year", e.year);
            if (e.hour)
                std::fprintf(f, "\r\n%s=%i", "hour", e.hour);
            if (e.min)
                std::fprintf(f, "\r\n%s=%i", "min", e.min);
            if (e.sec)
                std::fprintf(f, "\r\n%s=%i", "sec", e.sec);
            if (e.nday_week)
                std::fprintf(f, "\r\n%s=%i", "nday_week", e.nday_week);
            if (e.days_week)
                std::fprintf(f, "\r\n%s=%i", "days_week", e.days_week);
        }
        std::fprintf(f, "\r\n");
        std::fclose(f);
    }
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}
BENCHMARK(BM_FprintfWriter)->Unit(benchmark::kMillisecond);

// What the safe replace adds: flushing the written file to the disk and renaming it.
void BM_FlushAndRename(benchmark::State& state) {
    std::string bytes(static_cast<size_t>(fileSize(files().cfgPath)), 'x');
    std::string temp = files().folder + "replace.tmp", target = files().folder + "replace.cfg";
    FileStore& store = SystemFileStore();
    for (auto _ : state) {
        state.PauseTiming();
        FileStore::Handle h = store.Create(temp);
        store.Write(h, bytes.data(), bytes.size());
        state.ResumeTiming();
        bool ok = store.Flush(h);
        ok = store.Close(h) && ok;
        ok = store.Replace(temp, target) && ok;
        if (!ok) {
            state.SkipWithError("replace failed");
        }
    }
}
BENCHMARK(BM_FlushAndRename)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
