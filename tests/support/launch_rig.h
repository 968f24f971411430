#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/launcher.h"
#include "engine/schedule_list.h"
#include "engine/stop_flag.h"

// A list and a launcher for dovsuite.exe whose starts are recorded instead of made; the
// record is safe to read while the polling thread runs.
class LaunchRig {
public:
    ScheduleList list;
    StopFlag stop;
    std::function<void(const std::string& line)> onStart;  // called on the starting thread
    Launcher launcher{list, [this](const std::string& line) {
                          if (onStart) {
                              onStart(line);
                          }
                          std::lock_guard<std::mutex> lock(mutex_);
                          lines_.push_back(line);
                          return true;
                      }};

    LaunchRig() { launcher.SetTarget(LaunchTarget{"dovsuite.exe", "-process"}); }

    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }
    // The quoted file at the end of each line started.
    std::vector<std::string> Files() {
        std::vector<std::string> files;
        for (const std::string& line : Lines()) {
            size_t open = line.rfind('"', line.size() - 2);
            files.push_back(line.substr(open + 1, line.size() - open - 2));
        }
        return files;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
};
