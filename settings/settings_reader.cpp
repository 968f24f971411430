// The reader: FormatVersion = number first, then section headers, each followed by
// key = value pairs of its section; keys a section copy does not mention get their defaults.
#include <charconv>
#include <cstring>
#include <new>
#include <vector>

#include "diag/report.h"
#include "platform/file_store.h"
#include "settings/protected_text.h"
#include "settings/read_whole_file.h"
#include "settings/settings_file.h"
#include "settings/settings_tokenizer.h"

namespace {

// An optional "-" and digits, stopping at the first other character; wraps rather than
// overflowing so any text has a defined value.
std::int64_t decimal(const char* text, const char* end) {
    while (text < end && (*text == ' ' || *text == '\t')) {
        ++text;
    }
    bool negative = text < end && *text == '-';
    if (negative) {
        ++text;
    }
    std::uint64_t value = 0;
    for (; text < end && *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + static_cast<std::uint64_t>(*text - '0');
    }
    return static_cast<std::int64_t>(negative ? 0 - value : value);
}
std::int64_t decimal(const char* text) {
    return decimal(text, text + std::strlen(text));
}

double floating(const char* text) {
    double value = 0;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

// A text ends at its first NUL, as it does everywhere the text goes afterwards (a command
// line, the file written back).
std::string unescape(const char* begin, const char* end) {
    std::string value;
    value.reserve(static_cast<std::size_t>(end - begin));
    for (const char* p = begin; p < end; ++p) {
        if (*p == '\\') {
            if (++p == end) {
                break;
            }
        }
        if (*p == '\0') {
            break;
        }
        value += *p;
    }
    return value;
}

template <class T>
void store(const SettingsKey& key, void* record, T value) {
    if (record != nullptr) {
        key.In<T>(record) = std::move(value);
    }
}

void giveDefault(const SettingsKey& key, void* record) {
    if (record == nullptr) {
        return;
    }
    switch (key.kind) {
        case SettingsKind::KindText:
        case SettingsKind::KindString:
            key.In<std::string>(record) = key.defaultText ? key.defaultText : "";
            break;
        case SettingsKind::KindProtected:
        case SettingsKind::KindProtectedAlt:
            key.In<std::string>(record).clear();
            break;
        case SettingsKind::KindShort:
            key.In<std::int16_t>(record) = static_cast<std::int16_t>(key.defaultNumber);
            break;
        case SettingsKind::KindFlags:
            key.In<std::uint32_t>(record) = key.defaultFlags;
            break;
        case SettingsKind::KindLong:
        case SettingsKind::KindInt:
            key.In<std::int32_t>(record) = key.defaultNumber;
            break;
        case SettingsKind::KindULong:
            key.In<std::uint32_t>(record) = static_cast<std::uint32_t>(key.defaultNumber);
            break;
        case SettingsKind::KindDouble:
            key.In<double>(record) = static_cast<std::uint32_t>(key.defaultNumber);
            break;
        case SettingsKind::KindInt64:
            key.In<std::int64_t>(record) = static_cast<std::uint32_t>(key.defaultNumber);
            break;
        case SettingsKind::KindDateTime:
            key.In<SettingsDateTime>(record) = SettingsDateTime{};
            break;
        case SettingsKind::KindIgnored:
        default:
            break;
    }
}

// A date-time's span must be 14 characters. The writer pads a year below 1000 with blanks
// right after the "=" (" 123" then ten digits), which the tokenizer skips; they are counted
// back in so that form reads back, and nothing looser: the blanks must follow the "=", the
// year has no leading zero, every character is a digit and the date-time is a valid one.
bool dateTimeSpan(const SettingsParser& p, const char*& begin, bool& padded) {
    begin = p.spanStart;
    while (p.spanEnd - begin < 14 && begin > p.textStart && begin[-1] == ' ') {
        --begin;
    }
    padded = begin != p.spanStart;
    if (p.spanEnd - begin != 14) {
        return false;
    }
    if (!padded) {
        return true;
    }
    if (begin == p.textStart || begin[-1] != '=' ||
        (p.spanStart[0] == '0' && begin + 3 != p.spanStart)) {
        return false;
    }
    for (const char* c = p.spanStart; c < p.spanEnd; ++c) {
        if (*c < '0' || *c > '9') {
            return false;
        }
    }
    return true;
}

// False when the fields are out of range: the value is left as it was.
bool readDateTime(const SettingsKey& key, void* record, const char* d) {
    int year = static_cast<int>(decimal(d, d + 4));
    int month = static_cast<int>(decimal(d + 4, d + 6));
    int day = static_cast<int>(decimal(d + 6, d + 8));
    int hour = static_cast<int>(decimal(d + 8, d + 10));
    int minute = static_cast<int>(decimal(d + 10, d + 12));
    int second = static_cast<int>(decimal(d + 12, d + 14));
    // A negative year would be written back as five digits, which no reader accepts.
    if (year >= 0 && month >= 1 && month <= 12 && day >= 1 && hour >= 0 && hour <= 24 &&
        minute >= 0 && minute <= 60 && second >= 0 && second <= 60) {
        store(key, record, SettingsDateTime::Make(year, month, day, hour, minute, second));
        return true;
    }
    return false;
}

// Reads the "= value" of the current key; false when it is malformed.
bool readValue(SettingsParser& p, const SettingsKey& key, void* record) {
    SettingsKind kind = key.kind;
    bool isNumber = kind == SettingsKind::KindShort || kind == SettingsKind::KindFlags ||
                    kind == SettingsKind::KindLong || kind == SettingsKind::KindInt ||
                    kind == SettingsKind::KindULong || kind == SettingsKind::KindDouble ||
                    kind == SettingsKind::KindInt64 || kind == SettingsKind::KindDateTime;
    bool isString = kind == SettingsKind::KindText || kind == SettingsKind::KindString ||
                    kind == SettingsKind::KindProtected || kind == SettingsKind::KindProtectedAlt;
    if (!isNumber && !isString) {
        // An ignored key: any two tokens, but never a section header, which would switch
        // the key table under the record being read.
        return scanToken(p) != TokSection && scanToken(p) != TokSection;
    }
    if (scanToken(p) != TokEquals || scanToken(p) != (isNumber ? TokNumber : TokString)) {
        return false;
    }
    switch (kind) {
        case SettingsKind::KindText:
        case SettingsKind::KindString:
            store(key, record, unescape(p.spanStart, p.spanEnd));
            break;
        case SettingsKind::KindProtected:
        case SettingsKind::KindProtectedAlt: {
            std::string text = unescape(p.spanStart, p.spanEnd);
            std::string value;
            if (text.size() >= 4 && text.compare(0, 2, "XZ") == 0) {
                unprotectText(text.c_str() + 2, value);  // a short tail is not a failure
            }
            store(key, record, std::move(value));
            break;
        }
        case SettingsKind::KindShort:
            store(key, record, static_cast<std::int16_t>(decimal(p.tokenText)));
            break;
        case SettingsKind::KindLong:
        case SettingsKind::KindInt:
            store(key, record, static_cast<std::int32_t>(decimal(p.tokenText)));
            break;
        case SettingsKind::KindULong:
            store(key, record, static_cast<std::uint32_t>(decimal(p.tokenText)));
            break;
        case SettingsKind::KindInt64:
            store(key, record, decimal(p.tokenText));
            break;
        case SettingsKind::KindDouble:
            store(key, record, floating(p.tokenText));
            break;
        case SettingsKind::KindFlags: {
            std::uint32_t value = 0;
            int length = static_cast<int>(std::strlen(p.tokenText));
            for (int i = 0; i < key.flagCount; ++i) {
                bool set =
                    i < length ? p.tokenText[i] == '1' : (key.flagMasks[i] & key.defaultFlags) != 0;
                if (set) {
                    value |= key.flagMasks[i];
                }
            }
            store(key, record, value);
            break;
        }
        case SettingsKind::KindDateTime: {
            const char* begin;
            bool padded = false;
            if (!dateTimeSpan(p, begin, padded)) {
                return false;
            }
            // The writer never pads a date-time it could not read back.
            if (!readDateTime(key, record, begin) && padded) {
                return false;
            }
            break;
        }
        default:
            break;
    }
    return true;
}

// The rest of the line the failing token stands on, for the report.
std::string offendingLine(const SettingsParser& p) {
    const char* s = p.tokenStart;
    while (s < p.end && (*s == '\n' || *s == '\r')) {
        ++s;
    }
    const char* e = s;
    while (e < p.end && e - s < 119 && *e != '\n' && *e != '\r' && *e != '\0') {
        ++e;
    }
    return std::string(s, e);
}

// One section copy; answers the token that ended it.
SettingsToken parseSectionBody(SettingsParser& p, void* base) {
    const SettingsSection& section = *p.currentSection;
    void* record = base;
    if (section.records) {
        record = section.records(OpAppend, 0, nullptr);
        if (record == nullptr) {
            // A shortened list must never pass for the whole file, or the next save would
            // write it back shortened.
            return TokFailed;
        }
    }
    std::vector<bool> seen(static_cast<std::size_t>(section.keyCount), false);
    auto giveDefaults = [&] {
        for (int k = 0; k < section.keyCount; ++k) {
            if (!seen[static_cast<std::size_t>(k)]) {
                giveDefault(section.keys[k], record);
            }
        }
    };
    for (;;) {
        SettingsToken token = scanToken(p);
        switch (token) {
            case TokKey:
                if (p.currentSection != &section) {
                    return TokFailed;  // a key of another section must never reach this record
                }
                seen[static_cast<std::size_t>(p.currentKeyIndex)] = true;
                if (!readValue(p, *p.currentKey, record)) {
                    return TokFailed;
                }
                break;
            case TokEnd:
                p.currentKeys = nullptr;
                p.currentKeyCount = 0;
                giveDefaults();
                return TokEnd;
            case TokSection:
                giveDefaults();
                return TokSection;
            default:
                ReportMessagef(0x820, " Project error, string=%s", offendingLine(p).c_str());
                p.currentKeys = nullptr;
                p.currentKeyCount = 0;
                giveDefaults();
                return token;
        }
    }
}

}  // namespace

SettingsFile::SettingsFile(const char* generatorName,
                           double formatVersion,
                           const SettingsSection* sections,
                           std::int32_t sectionCount)
    : SettingsFile(generatorName, formatVersion, sections, sectionCount, SystemFileStore()) {}

SettingsFile::SettingsFile(const char* generatorName,
                           double formatVersion,
                           const SettingsSection* sections,
                           std::int32_t sectionCount,
                           FileStore& store)
    : generatorName_(generatorName),
      formatVersion_(formatVersion),
      sections_(sections),
      sectionCount_(sectionCount),
      store_(store) {}

void SettingsFile::clearRecords() const {
    for (int s = 0; s < sectionCount_; ++s) {
        if (sections_[s].records) {
            sections_[s].records(OpClear, 0, nullptr);
        }
    }
}

bool SettingsFile::Load(void* base, const std::string& path, int reportMode) {
    if (path.empty()) {
        return false;
    }
    try {
        ReportMessagef(0x20, "Load settings '%s'...", path.c_str());
        clearRecords();
        path_ = path;
        std::uint32_t level = reportMode == 2 ? 0xA2 : reportMode == 1 ? 0x22 : 0x20;
        std::string text;
        if (!readWholeFile(path, level, text)) {
            return false;
        }
        if (!parse(base, text)) {
            path_.clear();
            return false;
        }
    } catch (...) {
        path_.clear();
        return false;
    }
    ReportMessage("Load settings - OK", 0x20);
    return true;
}

bool SettingsFile::LoadText(void* base, const char* data, std::size_t size) {
    try {
        clearRecords();
        return parse(base, translateTextMode(data, size));
    } catch (...) {
        return false;
    }
}

bool SettingsFile::parse(void* base, const std::string& text) const {
    SettingsParser p;
    p.sections = sections_;
    p.sectionCount = sectionCount_;
    p.Start(text.data(), text.size());
    if (scanToken(p) != TokFormatVersion || scanToken(p) != TokEquals ||
        scanToken(p) != TokNumber) {
        return false;
    }
    if (floating(p.tokenText) != formatVersion_) {
        ReportMessage("Bad version project file", 0x22);
        return false;
    }
    SettingsToken token = scanToken(p);
    while (token == TokSection) {
        token = parseSectionBody(p, base);
    }
    return token == TokEnd;
}
