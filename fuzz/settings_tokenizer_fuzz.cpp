// Scans arbitrary bytes to the end with two declared sections. Every token must move the
// cursor forward and stay inside the text, and every span must lie inside it too.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "settings/settings_tokenizer.h"

namespace {

struct Item {
    std::string name;
    std::int16_t count = 0;
};
using K = SettingsKind;
const SettingsKey kKeys[] = {
    SettingsKey::Make<K::KindText, &Item::name>("name"),
    SettingsKey::Make<K::KindShort, &Item::count>("count"),
};
const SettingsSection kSections[] = {
    {"Item", kKeys, 2, {}},
    {"Two words", kKeys, 1, {}},
};

void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SettingsParser p;
    p.sections = kSections;
    p.sectionCount = 2;
    p.Start(reinterpret_cast<const char*>(data), size);
    for (std::size_t tokens = 0;; ++tokens) {
        check(tokens <= size);
        const char* before = p.cursor;
        SettingsToken token = scanToken(p);
        check(p.cursor >= before && p.cursor <= p.end);
        check(std::strlen(p.tokenText) <= SettingsParser::kTokenTextSize);
        if (token == TokEnd) {
            break;
        }
        check(p.cursor > before);
        if (token == TokNumber || token == TokString) {
            check(p.spanStart >= p.textStart && p.spanStart <= p.spanEnd && p.spanEnd <= p.end);
        }
        if (token == TokKey) {
            check(p.currentKey != nullptr && p.currentKeyIndex < p.currentKeyCount);
        }
    }
    return 0;
}
