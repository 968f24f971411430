#pragma once

// A rectangle in pixels, edges inclusive-exclusive as in Win32, for the models that place
// windows without seeing one.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};
