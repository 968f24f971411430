#pragma once

#include <string>

// Where the operating system keeps the commands it starts at logon, one named entry each.
class AutorunStore {
public:
    virtual ~AutorunStore() = default;
    // Creates or replaces the entry. True when it was stored.
    virtual bool Write(const std::string& name, const std::string& command) = 0;
    // Deletes the entry wherever this store may have put it. True when one was deleted.
    virtual bool Delete(const std::string& name) = 0;
    // The command of the entry, or false when there is none.
    virtual bool Read(const std::string& name, std::string& command) = 0;
};

// Windows: a REG_SZ value in HKEY_LOCAL_MACHINE's Run key, or in HKEY_CURRENT_USER's when
// the machine-wide key is refused (a standard user under UAC); never both for one command. POSIX:
// an XDG autostart entry, $XDG_CONFIG_HOME/autostart/<name>.desktop (else ~/.config/autostart).
AutorunStore& SystemAutorunStore();

// The Windows store with the machine-wide key refused for writing, as a standard user sees
// it; elsewhere the system store.
AutorunStore& UserOnlyAutorunStore();
