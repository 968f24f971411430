#pragma once

#include <map>
#include <string>

#include "platform/autorun_store.h"

// Keeps the autorun entries in memory, or refuses every write and delete.
class MemoryAutorunStore : public AutorunStore {
public:
    bool refuse = false;
    std::map<std::string, std::string> entries;

    bool Write(const std::string& name, const std::string& command) override {
        if (!refuse) {
            entries[name] = command;
        }
        return !refuse;
    }
    bool Delete(const std::string& name) override { return !refuse && entries.erase(name) > 0; }
    bool Read(const std::string& name, std::string& command) override {
        auto it = entries.find(name);
        if (it != entries.end()) {
            command = it->second;
        }
        return it != entries.end();
    }
};
