#include "app/help_topic.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct HelpCase {
    const char* name;
    std::string programPath;
    const char* topic;
    std::string expected;
};

TEST(HelpTopicParameter, IsTheProgramFolderFollowedByTheTopic) {
    const std::string deep = "C:\\" + std::string(240, 'd') + "\\Scheduler.exe";
    const HelpCase cases[] = {
        {"plain folder", "C:\\Dovrin\\Scheduler.exe", "dovsuite.chm::/Scheduler.html",
         "C:\\Dovrin\\dovsuite.chm::/Scheduler.html"},
        {"blanks stay unquoted", "C:\\Program Files\\Dovrin Lens\\Scheduler.exe",
         "dovlens.chm::/Scheduler.html",
         "C:\\Program Files\\Dovrin Lens\\dovlens.chm::/Scheduler.html"},
        {"forward slash separates too", "/opt/dovrin/Scheduler.exe", "dovbase.chm::/Scheduler.html",
         "/opt/dovrin/dovbase.chm::/Scheduler.html"},
        {"no folder at all", "Scheduler.exe", "dovdepot.chm::/Scheduler.html",
         "dovdepot.chm::/Scheduler.html"},
        {"unknown path", "", "dovsuite.chm::/Scheduler.html", "dovsuite.chm::/Scheduler.html"},
        {"cut at 259 characters", deep, "dovsuite.chm::/Scheduler.html",
         ("C:\\" + std::string(240, 'd') + "\\dovsuite.chm::/Scheduler.html").substr(0, 259)},
    };
    for (const HelpCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HelpTopicParameter(c.programPath, c.topic), c.expected);
    }
}

}  // namespace
