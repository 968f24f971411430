#include "ui/models/about_text.h"

std::string AboutVersionLine(const char* variantTitle) {
    return std::string(variantTitle != nullptr ? variantTitle : "") + " " + kProgramVersion;
}

std::string MailtoAddress(const char* email) {
    return std::string("mailto:") + (email != nullptr ? email : "");
}

std::string CopyrightLine() {
    return std::string("Copyright (C) 2026 ") + kMakerName;
}
