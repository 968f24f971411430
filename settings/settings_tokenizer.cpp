#include "settings/settings_tokenizer.h"

#include <cstring>

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == ',';
}
bool isWordStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
}
bool isDelimiter(char c) {
    return c == '\0' || isSpace(c) || std::strchr(".;{}[]()<>!,=?:#+-*/%^&`'\"\\|", c) != nullptr;
}
char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool equalsNoCase(const char* a, std::size_t length, const char* b) {
    for (std::size_t i = 0; i < length; ++i) {
        if (b[i] == '\0' || lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return b[length] == '\0';
}
bool startsWith(const SettingsParser& p, const char* marker) {
    std::size_t n = std::strlen(marker);
    return static_cast<std::size_t>(p.end - p.cursor) >= n && std::memcmp(p.cursor, marker, n) == 0;
}

SettingsToken scanNumber(SettingsParser& p) {
    p.spanStart = p.cursor;
    int n = 0;
    if (*p.cursor == '-') {
        p.tokenText[n++] = *p.cursor++;
    }
    while (p.cursor < p.end && n < SettingsParser::kTokenTextSize && isNumberChar(*p.cursor)) {
        p.tokenText[n++] = *p.cursor++;
    }
    p.tokenText[n] = '\0';
    p.spanEnd = p.cursor;
    return TokNumber;
}

SettingsToken scanWord(SettingsParser& p) {
    int n = 0;
    while (p.cursor < p.end && n < SettingsParser::kTokenTextSize && !isDelimiter(*p.cursor)) {
        p.tokenText[n++] = *p.cursor++;
    }
    p.tokenText[n] = '\0';
    if (equalsNoCase(p.tokenText, static_cast<std::size_t>(n), "FormatVersion")) {
        return TokFormatVersion;
    }
    if (p.currentKeys != nullptr) {
        for (int i = 0; i < p.currentKeyCount; ++i) {
            if (equalsNoCase(p.tokenText, static_cast<std::size_t>(n), p.currentKeys[i].name)) {
                p.currentKey = &p.currentKeys[i];
                p.currentKeyIndex = i;
                return TokKey;
            }
        }
    }
    return TokWord;
}

SettingsToken scanString(SettingsParser& p) {
    ++p.cursor;
    p.spanStart = p.cursor;
    while (p.cursor < p.end && *p.cursor != '"') {
        // An escape skips the next byte, but never past the end of the text.
        p.cursor += (*p.cursor == '\\' && p.end - p.cursor > 1) ? 2 : 1;
    }
    if (p.cursor >= p.end) {
        p.cursor = p.end;
        return TokEnd;
    }
    p.spanEnd = p.cursor;
    ++p.cursor;
    return TokString;
}

SettingsToken scanSection(SettingsParser& p) {
    ++p.cursor;
    std::size_t length = 0;
    while (p.cursor < p.end && *p.cursor != ']') {
        if (length < SettingsParser::kSectionNameSize) {
            p.sectionName[length] = *p.cursor;
        }
        ++length;
        ++p.cursor;
    }
    if (p.cursor >= p.end) {
        return TokEnd;
    }
    ++p.cursor;  // past the "]"
    // A longer name was cut in the buffer and can name no section.
    bool fits = length <= SettingsParser::kSectionNameSize;
    p.sectionName[fits ? length : SettingsParser::kSectionNameSize] = '\0';
    for (int i = 0; fits && i < p.sectionCount; ++i) {
        const SettingsSection& s = p.sections[i];
        if (equalsNoCase(p.sectionName, length, s.name)) {
            p.currentSection = &s;
            p.currentKeys = s.keys;
            p.currentKeyCount = s.keyCount;
            return TokSection;
        }
    }
    return TokWord;
}

}  // namespace

SettingsToken scanToken(SettingsParser& p) {
    p.tokenStart = p.cursor;
    while (p.cursor < p.end) {
        char c = *p.cursor;
        if (isSpace(c)) {
            while (p.cursor < p.end && isSpace(*p.cursor)) {
                ++p.cursor;
            }
        } else if (startsWith(p, "//")) {
            while (p.cursor < p.end && *p.cursor != '\r') {
                ++p.cursor;
            }
        } else if (startsWith(p, "*/")) {
            p.cursor += 2;
            if (!p.marker) {
                p.cursor = p.end;  // a stray end of comment ends the text
                return TokEnd;
            }
            p.marker = false;
        } else if (startsWith(p, "/*+&")) {
            p.marker = true;
            p.cursor += 4;
        } else if (startsWith(p, "/*")) {
            p.cursor += 2;
            while (p.cursor < p.end && !startsWith(p, "*/")) {
                ++p.cursor;
            }
            p.cursor = p.cursor < p.end ? p.cursor + 2 : p.end;
        } else if (isNumberChar(c) || c == '-') {
            return scanNumber(p);
        } else if (isWordStart(c)) {
            return scanWord(p);
        } else if (c == '"') {
            return scanString(p);
        } else if (c == '[') {
            return scanSection(p);
        } else {
            ++p.cursor;
            switch (c) {
                case '=':
                    return TokEquals;
                case '{':
                    return TokOpenBrace;
                case '}':
                    return TokCloseBrace;
                default:
                    return TokOther;
            }
        }
    }
    return TokEnd;
}
