#pragma once

#include <string>

// The maker of this program, as the About box shows it. Addresses under the reserved
// ".example" domain, which belong to nobody.
inline constexpr const char* kMakerName = "Veltrane";
inline constexpr const char* kMakerSite = "https://www.veltrane.example/";
inline constexpr const char* kMakerEmail = "support@veltrane.example";
inline constexpr const char* kProgramVersion = "1.11";

// "Copyright (C) 2026 Veltrane".
std::string CopyrightLine();
// "<variant title> 1.11".
std::string AboutVersionLine(const char* variantTitle);
// The address that opens a mail to the e-mail address.
std::string MailtoAddress(const char* email);
