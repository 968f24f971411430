#include "ui/models/hyperlink_model.h"

#include <cstdio>

LinkColour LinkTextColour(const LinkState& state) {
    if (state.mouseOver && (state.linkStyle & LinkHoverColour) != 0) {
        return kHoverColour;
    }
    if ((state.linkStyle & LinkNoActiveColour) == 0 && state.active) {
        return kActiveColour;
    }
    return state.visited ? kVisitedColour : kLinkColour;
}

LinkRect FitToText(const LinkRect& window, LinkSize client, LinkSize text, std::uint32_t style) {
    LinkRect r = window;
    if ((style & kStaticCentreVertically) != 0) {
        int inset = (r.Height() - text.height) / 2;
        r.top += inset;
        r.bottom -= inset;
    } else {
        r.bottom = r.top + text.height;
    }
    if ((style & kStaticCentre) != 0) {
        int inset = (r.Width() - text.width) / 2;
        r.left += inset;
        r.right -= inset;
    } else if ((style & kStaticRight) != 0) {
        r.left = r.right - text.width;
    } else {
        r.right = r.left + text.width;
    }
    // The borders: what the window has beyond its client area.
    r.right += window.Width() - client.width;
    r.bottom += window.Height() - client.height;
    return r;
}

std::string LinkErrorMessage(int code) {
    const char* text = nullptr;
    switch (code) {
        case 0:
            text = "The operating system is out\nof memory or resources.";
            break;
        case 2:
            text = "The specified file was not found.";
            break;
        case 3:
            text = "The specified path was not found.";
            break;
        case 5:
            text = "The operating system denied\naccess to the specified file.";
            break;
        case 8:
            text = "There was not enough memory to complete the operation.";
            break;
        case 11:
            text = "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
            break;
        case 26:
            text = "A sharing violation occurred. ";
            break;
        case 27:
            text = "The filename association is\nincomplete or invalid.";
            break;
        case 28:
            text = "The DDE transaction could not\nbe completed because the request timed out.";
            break;
        case 29:
            text = "The DDE transaction failed.";
            break;
        case 30:
            text =
                "The DDE transaction could not\nbe completed because other DDE "
                "transactions\nwere being processed.";
            break;
        case 31:
            text = "There is no application associated\nwith the given filename extension.";
            break;
        case 32:
            text = "The specified dynamic-link library was not found.";
            break;
        default:
            break;
    }
    std::string message = "Can't open link:\n\n";
    if (text != nullptr) {
        return message + text;
    }
    char unknown[48];
    std::snprintf(unknown, sizeof(unknown), "Unknown Error (%d) occurred.", code);
    return message + unknown;
}

namespace {

// Position of the first occurrence of needle that starts on a character boundary.
std::string::size_type FindCharacterWise(const std::string& text,
                                         const std::string& needle,
                                         const std::function<bool(unsigned char)>& isLeadByte) {
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        if (text.compare(i, needle.size(), needle) == 0) {
            return i;
        }
        if (isLeadByte && isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;  // the trail byte is no character of its own
        }
    }
    return std::string::npos;
}

}  // namespace

std::string FallbackOpenCommand(const std::string& openCommand,
                                const std::string& address,
                                const std::function<bool(unsigned char)>& isLeadByte) {
    std::string command = openCommand;
    std::string::size_type cut = FindCharacterWise(command, "\"%1\"", isLeadByte);
    if (cut == std::string::npos) {
        cut = FindCharacterWise(command, "%1", isLeadByte);
    }
    if (cut != std::string::npos) {
        command.erase(cut);
    }
    return command + " " + address;
}

int OpenUrl(const std::string& address, int show, const UrlOpenerServices& services) {
    int result = services.shellOpen(address, show);
    if (result > 32) {
        return result;
    }
    std::string htmlClass;
    if (!services.readClassesRootDefault(".htm", htmlClass)) {
        return result;
    }
    std::string openCommand;
    if (!services.readClassesRootDefault(htmlClass + "\\shell\\open\\command", openCommand)) {
        return result;
    }
    return services.startCommand(FallbackOpenCommand(openCommand, address, services.isLeadByte),
                                 show);
}
