#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/autorun_store.h"
#include "platform/escaped_text.h"

namespace fs = std::filesystem;

namespace {
// The Exec= value of a command '"<program path>" <switch>'. Inside the quotes the characters
// " ` $ and backslash take a backslash; then the value's own escapes double every backslash and
// write line breaks as \n, and % is doubled so that no path reads as a field code.
std::string execValue(const std::string& command) {
    std::size_t close = command.rfind('"');
    bool quoted = !command.empty() && command[0] == '"' && close != 0 && close != std::string::npos;
    std::string out;
    for (std::size_t i = 0; i < command.size(); ++i) {
        char c = command[i];
        if (quoted && i > 0 && i < close && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out += '\\';
        }
        out += c;
        if (c == '%') {
            out += '%';
        }
    }
    return BackslashEscaped(out);
}

// The command an Exec= value was made from by execValue.
std::string commandOf(const std::string& value) {
    std::string text;  // the value's own escapes and %% undone
    for (std::size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            char n = value[++i];
            text += n == 'n' ? '\n' : n == 'r' ? '\r' : n == 't' ? '\t' : n == 's' ? ' ' : n;
        } else if (c == '%' && i + 1 < value.size() && value[i + 1] == '%') {
            text += value[i++];
        } else {
            text += c;
        }
    }
    std::string command;  // the quoted argument's backslashes undone
    bool inside = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            inside = !inside;
        } else if (inside && text[i] == '\\' && i + 1 < text.size()) {
            ++i;
        }
        command += text[i];
    }
    return command;
}

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
                << "\nExec=" << execValue(command)
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
                command = commandOf(line.substr(5));
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
