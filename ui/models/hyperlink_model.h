#pragma once

#include "ui/models/pixel_rect.h"

#include <cstdint>
#include <functional>
#include <string>

// What a link of the About box does, without a window: its text colour, the size it takes
// to fit its text, the texts of its errors and the way it opens an address when the shell
// cannot.

struct LinkColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const LinkColour&, const LinkColour&) = default;
};

// Shared by every link.
inline constexpr LinkColour kLinkColour{0, 0, 255};
inline constexpr LinkColour kActiveColour{0, 128, 128};
inline constexpr LinkColour kVisitedColour{128, 0, 128};
inline constexpr LinkColour kHoverColour{255, 0, 0};

// Behaviour options of a link (its `linkStyle`).
enum LinkStyle : std::uint32_t {
    LinkUnderline = 0x01,
    LinkHoverColour = 0x02,
    LinkAutoSize = 0x04,
    LinkFollowOnPress = 0x08,
    LinkTakeFocus = 0x10,
    LinkNoHandCursor = 0x20,
    LinkNoActiveColour = 0x40,
};
inline constexpr std::uint32_t kDefaultLinkStyle = LinkUnderline | LinkAutoSize | LinkTakeFocus;

struct LinkState {
    bool active = false;     // focused or pressed
    bool mouseOver = false;  // the pointer is over it
    bool visited = false;    // opened successfully at least once
    std::uint32_t linkStyle = kDefaultLinkStyle;
};

LinkColour LinkTextColour(const LinkState& state);

// Alignment bits of a static control's style that FitToText honours (the values of
// SS_CENTER, SS_RIGHT and SS_CENTERIMAGE).
inline constexpr std::uint32_t kStaticCentre = 0x001;
inline constexpr std::uint32_t kStaticRight = 0x002;
inline constexpr std::uint32_t kStaticCentreVertically = 0x200;

using LinkRect = PixelRect;

struct LinkSize {
    int width = 0;
    int height = 0;
};

// Where a link goes to fit its text: `window` is its window rectangle in the parent's client
// coordinates, `client` its client size, `text` the size of its text in the link font.
// Returns the new window rectangle (the borders kept around the text).
LinkRect FitToText(const LinkRect& window, LinkSize client, LinkSize text, std::uint32_t style);

// The text of the error box for a shell or process-start error code, prefix included.
std::string LinkErrorMessage(int code);

// The command line that opens the address with the HTML documents' open command: the
// command cut at its quoted "%1" placeholder, else at a bare %1, else kept whole, then a
// blank and the address. isLeadByte (may be empty) tells the first byte of a two-byte
// character, so that the search goes character by character.
std::string FallbackOpenCommand(const std::string& openCommand,
                                const std::string& address,
                                const std::function<bool(unsigned char)>& isLeadByte = {});

// The operating system's part of opening an address.
struct UrlOpenerServices {
    // The shell's "open" on the address: above 32 is success, else an error code.
    std::function<int(const std::string& address, int show)> shellOpen;
    // The default value of a key under HKEY_CLASSES_ROOT; false when it cannot be read.
    std::function<bool(const std::string& key, std::string& value)> readClassesRootDefault;
    // Starts a command line: above 31 is success, else an error code.
    std::function<int(const std::string& commandLine, int show)> startCommand;
    // The first byte of a two-byte character in the system's code page (may be empty).
    std::function<bool(unsigned char)> isLeadByte;
};

// Opens the address through the shell, else through the ".htm" association's open command.
// Above 32 is success; otherwise the error to report: the shell's when the association
// cannot be read, the process start's when it can.
int OpenUrl(const std::string& address, int show, const UrlOpenerServices& services);
