#include <windows.h>

#include "platform/autorun_store.h"

namespace {
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class UniqueHKey {
public:
    UniqueHKey() = default;
    ~UniqueHKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    UniqueHKey(const UniqueHKey&) = delete;
    UniqueHKey& operator=(const UniqueHKey&) = delete;
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool WriteRunValue(HKEY root, const std::string& name, const std::string& data) {
    UniqueHKey key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.Out()) !=
            ERROR_SUCCESS &&
        RegCreateKeyExA(root, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        key.Out(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    // The terminating zero is stored with the text.
    return RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool DeleteRunValue(HKEY root, const std::string& name) {
    UniqueHKey key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_ALL_ACCESS, key.Out()) != ERROR_SUCCESS) {
        return false;
    }
    return RegDeleteValueA(key.Get(), name.c_str()) == ERROR_SUCCESS;
}

bool ReadRunValue(HKEY root, const std::string& name, std::string& command) {
    UniqueHKey key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS) {
        return false;
    }
    char buffer[1024];
    DWORD type = 0;
    DWORD size = sizeof buffer - 1;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return false;
    }
    buffer[size] = '\0';
    command = buffer;
    return true;
}

// Whether the place's value of that name starts the same program (paths ignore case).
bool StartsSame(HKEY root, const std::string& name, const std::string& command) {
    std::string there;
    return ReadRunValue(root, name, there) && lstrcmpiA(there.c_str(), command.c_str()) == 0;
}

class RunKeyStore : public AutorunStore {
public:
    explicit RunKeyStore(bool machineWide) : machineWide_(machineWide) {}

    // At most one value starts this copy, or two quiet instances start at every logon. A
    // standard user cannot write the machine-wide key, but its value may start this copy
    // already; then the user's own is not wanted either.
    bool Write(const std::string& name, const std::string& command) override {
        if ((machineWide_ && WriteRunValue(HKEY_LOCAL_MACHINE, name, command)) ||
            StartsSame(HKEY_LOCAL_MACHINE, name, command)) {
            if (StartsSame(HKEY_CURRENT_USER, name, command)) {
                DeleteRunValue(HKEY_CURRENT_USER, name);
            }
            return true;
        }
        return WriteRunValue(HKEY_CURRENT_USER, name, command);
    }
    bool Delete(const std::string& name) override {
        // Both places, so a value left by an earlier fallback goes as well.
        bool machine = machineWide_ && DeleteRunValue(HKEY_LOCAL_MACHINE, name);
        bool user = DeleteRunValue(HKEY_CURRENT_USER, name);
        return machine || user;
    }
    bool Read(const std::string& name, std::string& command) override {
        // Anyone may read the machine-wide key.
        return ReadRunValue(HKEY_LOCAL_MACHINE, name, command) ||
               ReadRunValue(HKEY_CURRENT_USER, name, command);
    }

private:
    bool machineWide_;
};
}  // namespace

AutorunStore& SystemAutorunStore() {
    static RunKeyStore store(true);
    return store;
}

AutorunStore& UserOnlyAutorunStore() {
    static RunKeyStore store(false);
    return store;
}
