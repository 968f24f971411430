#pragma once

#include <string>

// The help viewer's parameter: the program's folder (the full path cut after its last "\" or
// "/") followed by the variant's help topic, in a 260-byte buffer (a longer text is cut).
// It is passed unquoted, as the viewer takes the rest of its command line as the topic.
std::string HelpTopicParameter(const std::string& programFullPath, const char* helpTopic);
