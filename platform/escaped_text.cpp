#include "platform/escaped_text.h"

std::string BackslashEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string DesktopExecValue(const std::string& command) {
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

std::string DesktopExecCommand(const std::string& value) {
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
    // Only a command that begins with a quoted part had escapes put in, and only up to the
    // quote that closes it; anything else is read as it stands.
    if (text.empty() || text[0] != '"') {
        return text;
    }
    std::string command = "\"";
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '"') {
            return command + text.substr(i);
        }
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
        }
        command += text[i];
    }
    return text;  // a lone quote: nothing was escaped
}
