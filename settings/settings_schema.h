#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>

// The tables that drive a settings file: sections of keys, each key naming a value kind and
// the member of the caller's record that holds it.

enum class SettingsKind : std::int32_t {
    KindText = 0,       // std::string, empty = none; a default text forces the line out
    KindShort = 1,      // std::int16_t
    KindFlags = 2,      // std::uint32_t, one "0"/"1" character per flag mask
    KindLong = 3,       // std::int32_t
    KindIgnored = 4,    // no value; the key is accepted and skipped
    KindDouble = 5,     // double
    KindInt64 = 6,      // std::int64_t
    KindString = 7,     // std::string
    KindInt = 8,        // std::int32_t
    KindProtected = 9,  // std::string, stored enciphered
    KindProtectedAlt = 10,
    KindULong = 11,    // std::uint32_t
    KindDateTime = 12  // SettingsDateTime
};

// date: bits 0..7 day, 8..15 month 1..12 (both signed 8-bit), 16..31 year.
// time: seconds since midnight.
struct SettingsDateTime {
    std::uint32_t date = 0;
    std::uint32_t time = 0;

    static SettingsDateTime Make(int year, int month, int day, int hour, int minute, int second) {
        return {
            static_cast<std::uint32_t>((year & 0xFFFF) << 16 | (month & 0xFF) << 8 | (day & 0xFF)),
            static_cast<std::uint32_t>(hour * 3600 + minute * 60 + second)};
    }
    int Year() const { return static_cast<int>(date >> 16); }
    int Month() const { return static_cast<std::int8_t>((date >> 8) & 0xFF); }
    int Day() const { return static_cast<std::int8_t>(date & 0xFF); }
    bool operator==(const SettingsDateTime&) const = default;
};

// Operations of a multi-record section's record accessor.
enum SettingsOp : std::int32_t {
    OpCount = 0,   // stores the number of records in *out
    OpRecord = 1,  // answers the record at the index
    OpAppend = 2,  // appends a blank record and answers it, or nullptr when it cannot
    OpClear = 4,   // empties the record list
};
using RecordAccessor = std::function<void*(SettingsOp op, std::int32_t index, std::int32_t* out)>;

namespace settings_detail {
template <SettingsKind K>
struct ValueOf;
template <>
struct ValueOf<SettingsKind::KindText> {
    using type = std::string;
};
template <>
struct ValueOf<SettingsKind::KindShort> {
    using type = std::int16_t;
};
template <>
struct ValueOf<SettingsKind::KindFlags> {
    using type = std::uint32_t;
};
template <>
struct ValueOf<SettingsKind::KindLong> {
    using type = std::int32_t;
};
template <>
struct ValueOf<SettingsKind::KindDouble> {
    using type = double;
};
template <>
struct ValueOf<SettingsKind::KindInt64> {
    using type = std::int64_t;
};
template <>
struct ValueOf<SettingsKind::KindString> {
    using type = std::string;
};
template <>
struct ValueOf<SettingsKind::KindInt> {
    using type = std::int32_t;
};
template <>
struct ValueOf<SettingsKind::KindProtected> {
    using type = std::string;
};
template <>
struct ValueOf<SettingsKind::KindProtectedAlt> {
    using type = std::string;
};
template <>
struct ValueOf<SettingsKind::KindULong> {
    using type = std::uint32_t;
};
template <>
struct ValueOf<SettingsKind::KindDateTime> {
    using type = SettingsDateTime;
};

template <class T>
struct MemberTraits;
template <class C, class M>
struct MemberTraits<M C::*> {
    using Record = C;
    using Value = M;
};

template <auto Member>
void* Locate(void* record) {
    using Record = typename MemberTraits<decltype(Member)>::Record;
    return &(static_cast<Record*>(record)->*Member);
}
}  // namespace settings_detail

// Where a key's value lives: a function that finds the member inside a record. Built only by
// SettingsKey::Make, which checks at compile time that the member's type fits the kind.
using SettingsPlace = void* (*)(void* record);

struct SettingsKey {
    const char* name = "";
    SettingsKind kind = SettingsKind::KindIgnored;
    SettingsPlace place = nullptr;
    const char* defaultText = nullptr;  // KindText, KindString
    std::int32_t defaultNumber = 0;     // the number kinds
    std::uint32_t defaultFlags = 0;     // KindFlags
    const std::uint32_t* flagMasks = nullptr;
    std::int32_t flagCount = 0;  // at most kMaxFlags

    static constexpr int kMaxFlags = 63;

    template <SettingsKind K, auto Member>
    static constexpr SettingsKey Make(const char* name) {
        using Value = typename settings_detail::MemberTraits<decltype(Member)>::Value;
        static_assert(std::is_same_v<Value, typename settings_detail::ValueOf<K>::type>,
                      "the member's type does not fit the key's kind");
        SettingsKey key;
        key.name = name;
        key.kind = K;
        key.place = &settings_detail::Locate<Member>;
        return key;
    }
    // A key that is accepted in the file and otherwise ignored.
    static constexpr SettingsKey Ignored(const char* name) {
        SettingsKey key;
        key.name = name;
        return key;
    }

    constexpr SettingsKey WithDefault(std::int32_t number) const {
        SettingsKey key = *this;
        key.defaultNumber = number;
        return key;
    }
    constexpr SettingsKey WithDefaultText(const char* text) const {
        SettingsKey key = *this;
        key.defaultText = text;
        return key;
    }
    template <int N>
    constexpr SettingsKey WithFlags(const std::uint32_t (&masks)[N], std::uint32_t defaults) const {
        static_assert(N <= kMaxFlags, "too many flags");
        SettingsKey key = *this;
        key.flagMasks = masks;
        key.flagCount = N;
        key.defaultFlags = defaults;
        return key;
    }

    template <class T>
    T& In(void* record) const {
        return *static_cast<T*>(place(record));
    }
};

struct SettingsSection {
    const char* name = "";
    const SettingsKey* keys = nullptr;
    std::int32_t keyCount = 0;
    // Set for a multi-record section; a section without one lives in the caller's base block.
    RecordAccessor records;
};
