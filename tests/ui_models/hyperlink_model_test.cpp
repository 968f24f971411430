#include "ui/models/hyperlink_model.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

TEST(LinkTextColour, FirstMatchingRuleWins) {
    struct Case {
        const char* name;
        LinkState state;
        LinkColour expected;
    };
    const Case cases[] = {
        {"fresh link", {}, kLinkColour},
        {"visited", {false, false, true}, kVisitedColour},
        {"focus beats visited", {true, false, true}, kActiveColour},
        {"default style never hovers", {false, true, false}, kLinkColour},
        {"hover beats focus",
         {true, true, true, kDefaultLinkStyle | LinkHoverColour},
         kHoverColour},
        {"no active colour", {true, false, true, LinkNoActiveColour}, kVisitedColour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LinkTextColour(c.state), c.expected);
    }
}

TEST(FitToText, ShrinksOrCentresOnTheTextKeepingTheBorders) {
    struct Case {
        const char* name;
        LinkRect window;
        LinkSize client;
        std::uint32_t style;
        LinkRect expected;
    };
    // Text of 50 by 13 in a static of 100 by 20.
    const Case cases[] = {
        {"left keeps its top-left corner", {10, 20, 110, 40}, {100, 20}, 0, {10, 20, 60, 33}},
        {"borders kept", {10, 20, 110, 40}, {96, 16}, 0, {10, 20, 64, 37}},
        {"centred", {10, 20, 110, 40}, {100, 20}, kStaticCentre, {35, 20, 85, 33}},
        {"right keeps its right edge",
         {10, 20, 110, 40},
         {100, 20},
         kStaticRight,
         {60, 20, 110, 33}},
        {"centred vertically, odd gap truncated",
         {10, 20, 110, 40},
         {100, 20},
         kStaticCentreVertically,
         {10, 23, 60, 37}},
        {"wider text grows a centred link both ways",
         {10, 20, 40, 40},
         {30, 20},
         kStaticCentre,
         {0, 20, 50, 33}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FitToText(c.window, c.client, {50, 13}, c.style), c.expected);
    }
}

TEST(LinkErrorMessage, KnownCodesHaveTheirTextAnyOtherIsUnknown) {
    const std::map<int, std::string> cases = {
        {0, "The operating system is out\nof memory or resources."},
        {26, "A sharing violation occurred. "},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {1, "Unknown Error (1) occurred."},
        {-5, "Unknown Error (-5) occurred."},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(LinkErrorMessage(code), "Can't open link:\n\n" + text) << code;
    }
}

TEST(FallbackOpenCommand, CutsAtThePlaceholderThenAppendsTheAddress) {
    const std::string a = "https://www.veltrane.example/";
    const std::function<bool(unsigned char)> dbcs = [](unsigned char c) { return c == 0x81; };
    struct Case {
        const char* command;
        bool twoByteCodePage;
        std::string expected;
    };
    const Case cases[] = {
        {"\"C:\\b.exe\" -nohome \"%1\" -x", false, "\"C:\\b.exe\" -nohome  " + a},
        {"C:\\b.exe %1", false, "C:\\b.exe  " + a},
        {"C:\\b.exe -url", false, "C:\\b.exe -url " + a},
        {"", false, " " + a},
        // The quote after a lead byte is half of a character, not a quote.
        {"b.exe \x81\"%1\"", true, "b.exe \x81\" " + a},
        {"b.exe \x81\"%1\"", false, "b.exe \x81 " + a},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(
            FallbackOpenCommand(c.command, a,
                                c.twoByteCodePage ? dbcs : std::function<bool(unsigned char)>()),
            c.expected);
    }
}

TEST(OpenUrl, FallsBackToTheHtmlOpenCommandOnlyWhenTheShellFails) {
    struct Case {
        const char* name;
        int shell;
        std::map<std::string, std::string> registry;
        int expected;
        std::string started;
    };
    const std::map<std::string, std::string> full = {
        {".htm", "htmlfile"}, {"htmlfile\\shell\\open\\command", "web.exe \"%1\""}};
    const Case cases[] = {
        {"shell opens it", 42, full, 42, ""},
        {"no association: the shell's error", 31, {}, 31, ""},
        {"no open command: the shell's error", 2, {{".htm", "htmlfile"}}, 2, ""},
        {"fallback started: its result", 31, full, 33, "web.exe  mailto:x@y.example"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string started;
        UrlOpenerServices services;
        services.shellOpen = [&](const std::string&, int) { return c.shell; };
        services.readClassesRootDefault = [&](const std::string& key, std::string& value) {
            return c.registry.count(key) != 0 && !(value = c.registry.at(key)).empty();
        };
        services.startCommand = [&](const std::string& command, int show) {
            started = command;
            return show == 5 ? 33 : 0;
        };
        EXPECT_EQ(OpenUrl("mailto:x@y.example", 5, services), c.expected);
        EXPECT_EQ(started, c.started);
    }
}

}  // namespace
