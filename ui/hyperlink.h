#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/models/hyperlink_model.h"
#include "ui/unique_gdi.h"
#include "ui/window.h"

// A static control that draws itself as a link, shows a hand cursor and a tooltip with its
// address, and opens the address through the shell (with the ".htm" association as a
// fallback and a message box when both fail). Its parent must reflect the static colour
// query (the Dialog base does).
class CHyperLink {
public:
    CHyperLink() = default;
    ~CHyperLink();
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;

    // Takes over an existing static control, once; false when it cannot.
    bool Bind(HWND control);
    bool IsBound() const { return hwnd_ != nullptr; }

    // The target; set it before binding (binding takes the control's text otherwise).
    void SetUrl(const std::string& url) { url_ = url; }
    const std::string& Url() const { return url_; }
    // Shows another text; the address and the tooltip stay.
    void SetLinkText(const char* text);
    void FollowLink();

    HWND Handle() const { return hwnd_; }
    HWND ToolTip() const { return toolTip_; }
    LinkState State() const { return state_; }
    void SetLinkStyle(std::uint32_t style) { state_.linkStyle = style; }

    // How addresses are opened; tests record the call or answer an error instead.
    using UrlOpener = std::function<int(const std::string& address, int show)>;
    static void SetUrlOpenerForTesting(UrlOpener opener);

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void onMouseMove(LPARAM lParam);
    void relayToToolTip(UINT message, WPARAM wParam, LPARAM lParam);
    void fitToText();
    // The link's font: `base` underlined as the style asks, fitted to the text.
    void setLinkFont(HFONT base);
    void createToolTip();
    void redraw();
    void unbind();

    HWND hwnd_ = nullptr;
    ControlHook hook_;
    LinkState state_;
    std::string url_;
    UniqueFont linkFont_;
    HWND toolTip_ = nullptr;
};

// Opens an address with the shell, else with the ".htm" open command; above 32 is success.
int OpenUrl(const std::string& address, int show);
// The error box for a code of OpenUrl, owned by owner.
void ReportLinkError(HWND owner, int code);
