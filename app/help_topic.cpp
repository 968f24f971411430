#include "app/help_topic.h"

#include <cstring>

#include "engine/bounded_text.h"

std::string HelpTopicParameter(const std::string& programFullPath, const char* helpTopic) {
    char path[260];
    boundedCopy(path, sizeof(path), programFullPath.c_str());
    const char* name = fileNamePart(path);
    path[name - path] = '\0';
    boundedAppend(path, sizeof(path), helpTopic);
    return path;
}
