#pragma once

#include <string>

#include "ui/hyperlink.h"
#include "ui/window.h"

// The About box (template 100): the program's name and version, the maker's copyright line
// and two links, the maker's web site and support e-mail address.
class CAboutBox : public Dialog {
public:
    // Texts of the maker (ui/models/about_text.h); the version line is the caller's.
    CAboutBox();

    void SetVersionLine(std::string line) { versionLine_ = std::move(line); }
    const std::string& VersionLine() const { return versionLine_; }
    const std::string& CopyrightLine() const { return copyrightLine_; }

    CHyperLink& WebLink() { return webLink_; }
    CHyperLink& MailLink() { return mailLink_; }

    // The box of the running program while it is open, else nullptr.
    static CAboutBox* Current();

protected:
    bool OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFinalDestroy() override;

private:
    void exchangeTexts(bool toControls);

    std::string versionLine_;
    std::string copyrightLine_;
    CHyperLink webLink_;
    CHyperLink mailLink_;
};
