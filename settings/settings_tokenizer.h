#pragma once

#include <cstdint>

#include "settings/settings_schema.h"

// Tokens of the settings text:
//   /** header comment **/          comments: // to the line end, /* .. */
//   FormatVersion=1.0               keyword, "=", number
//   [Schedule]                      section header (a declared section, any letter case)
//   title="a \"quoted\" text"      key of the current section, "=", string
// Text between "/*+&" and "*/" is read as ordinary tokens; a stray "*/" ends the text.

enum SettingsToken : std::int32_t {
    TokEnd = 0,
    TokFailed = 1,  // never scanned: a section body whose value was malformed
    TokNumber = 2,
    TokWord = 3,
    TokOpenBrace = 4,
    TokCloseBrace = 5,
    TokString = 7,
    TokEquals = 8,
    TokOther = 9,
    TokFormatVersion = 10,
    TokSection = 11,
    TokKey = 12,
};

// The state of one read. The text must stay put while it is scanned; it needs no NUL.
struct SettingsParser {
    static constexpr int kTokenTextSize = 1024;
    static constexpr int kSectionNameSize = 1022;

    const char* cursor = nullptr;
    const char* tokenStart = nullptr;  // where the last scan began, before white space
    const char* end = nullptr;
    char tokenText[kTokenTextSize + 1] = {};  // last number or word, cut at 1024
    const char* spanStart = nullptr;          // raw extent of the last string or number
    const char* spanEnd = nullptr;
    const char* textStart = nullptr;
    char sectionName[kSectionNameSize + 1] = {};

    const SettingsSection* sections = nullptr;
    std::int32_t sectionCount = 0;
    const SettingsSection* currentSection = nullptr;
    const SettingsKey* currentKeys = nullptr;  // cleared when a section body ends
    std::int32_t currentKeyCount = 0;
    const SettingsKey* currentKey = nullptr;
    std::int32_t currentKeyIndex = -1;
    bool marker = false;  // inside "/*+&" .. "*/"

    void Start(const char* text, std::size_t size) {
        cursor = tokenStart = textStart = text;
        end = text + size;
        marker = false;
    }
};

// Scans the next token and updates the parser.
SettingsToken scanToken(SettingsParser& parser);
