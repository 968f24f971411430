// Feeds arbitrary bytes to the settings reader through a table with every kind of key, a
// single-record and a multi-record section. Whatever loads must render to a file that loads.
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <string>

#include "settings/settings_file.h"

namespace {

struct Options {
    std::string text, str, secret, secretAlt;
    std::int16_t shortValue = 0;
    std::uint32_t flags = 0, ulongValue = 0;
    std::int32_t longValue = 0, intValue = 0;
    double doubleValue = 0;
    std::int64_t int64Value = 0;
    SettingsDateTime when;
};

struct Item {
    std::string name;
    std::int16_t count = 0;
};

constexpr std::uint32_t kMasks[] = {1, 2, 4, 0x80000000u};
using K = SettingsKind;
const SettingsKey kOptionKeys[] = {
    SettingsKey::Make<K::KindText, &Options::text>("text").WithDefaultText("none"),
    SettingsKey::Make<K::KindShort, &Options::shortValue>("short").WithDefault(-1),
    SettingsKey::Make<K::KindFlags, &Options::flags>("flags").WithFlags(kMasks, 4),
    SettingsKey::Make<K::KindLong, &Options::longValue>("long"),
    SettingsKey::Ignored("ignored"),
    SettingsKey::Make<K::KindDouble, &Options::doubleValue>("double"),
    SettingsKey::Make<K::KindInt64, &Options::int64Value>("int64"),
    SettingsKey::Make<K::KindString, &Options::str>("string").WithDefaultText("s"),
    SettingsKey::Make<K::KindInt, &Options::intValue>("int"),
    SettingsKey::Make<K::KindProtected, &Options::secret>("secret"),
    SettingsKey::Make<K::KindProtectedAlt, &Options::secretAlt>("secret_alt"),
    SettingsKey::Make<K::KindULong, &Options::ulongValue>("ulong"),
    SettingsKey::Make<K::KindDateTime, &Options::when>("when"),
};
const SettingsKey kItemKeys[] = {
    SettingsKey::Make<K::KindText, &Item::name>("name"),
    SettingsKey::Make<K::KindShort, &Item::count>("count").WithDefault(1),
};

struct Fixture {
    std::deque<Item> items;
    SettingsSection sections[2] = {
        {"Options", kOptionKeys, static_cast<std::int32_t>(std::size(kOptionKeys)), {}},
        {"Item", kItemKeys, 2,
         [this](SettingsOp op, std::int32_t index, std::int32_t* out) -> void* {
             switch (op) {
                 case OpCount:
                     *out = static_cast<std::int32_t>(items.size());
                     return nullptr;
                 case OpRecord:
                     return &items[static_cast<std::size_t>(index)];
                 case OpAppend:
                     return &items.emplace_back();
                 case OpClear:
                     items.clear();
                     return nullptr;
             }
             return nullptr;
         }},
    };
    SettingsFile file{"Fuzz", 1.0, sections, 2};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fixture in;
    Options options;
    if (!in.file.LoadText(&options, reinterpret_cast<const char*>(data), size)) {
        return 0;
    }
    std::string rendered = in.file.Render(&options);
    Fixture again;
    Options copy;
    if (!again.file.LoadText(&copy, rendered.data(), rendered.size())) {
        std::abort();  // the writer wrote something its own reader rejects
    }
    return 0;
}
