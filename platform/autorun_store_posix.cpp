#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/autorun_store.h"
#include "platform/escaped_text.h"

namespace fs = std::filesystem;

namespace {
// An autostart entry looks like:
//   [Desktop Entry]
//   Type=Application
//   Name=Dovrin Suite Scheduler
//   Exec="/opt/dovrin/scheduler" -server
class XdgAutostartStore : public AutorunStore {
public:
    bool Write(const std::string& name, const std::string& command) override {
        std::error_code ec;
        fs::path folder = Folder();
        if (folder.empty()) {
            return false;
        }
        fs::create_directories(folder, ec);
        // Written beside the entry and renamed over it, so a failed write keeps the old one.
        fs::path target = EntryPath(name);
        fs::path temporary = target;
        temporary += ".tmp";
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out << "[Desktop Entry]\nType=Application\nName=" << name
                << "\nExec=" << DesktopExecValue(command)
                << "\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
            out.flush();
            if (!out) {
                fs::remove(temporary, ec);
                return false;
            }
        }
        fs::rename(temporary, target, ec);
        if (ec) {
            fs::remove(temporary, ec);
            return false;
        }
        return true;
    }

    bool Delete(const std::string& name) override {
        std::error_code ec;
        return !Folder().empty() && fs::remove(EntryPath(name), ec);
    }

    bool Read(const std::string& name, std::string& command) override {
        if (Folder().empty()) {
            return false;
        }
        std::ifstream in(EntryPath(name), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("Exec=", 0) == 0) {
                command = DesktopExecCommand(line.substr(5));
                return true;
            }
        }
        return false;
    }

private:
    static fs::path Folder() {
        const char* config = std::getenv("XDG_CONFIG_HOME");
        if (config != nullptr && config[0] == '/') {
            return fs::path(config) / "autostart";
        }
        const char* home = std::getenv("HOME");
        if (home != nullptr && home[0] == '/') {
            return fs::path(home) / ".config" / "autostart";
        }
        return fs::path();
    }

    static fs::path EntryPath(const std::string& name) {
        std::string file = name;
        for (char& c : file) {
            if (c == '/') {
                c = '_';
            }
        }
        return Folder() / (file + ".desktop");
    }
};
}  // namespace

AutorunStore& SystemAutorunStore() {
    static XdgAutostartStore store;
    return store;
}

AutorunStore& UserOnlyAutorunStore() {
    return SystemAutorunStore();
}
