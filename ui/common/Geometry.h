#pragma once

namespace claverix::ui {

// Window geometry is kept in twips, 1/1440 inch: 15 twips a pixel at 96 DPI.
inline constexpr int kTwipsPerInch = 1440;

struct TwipsPoint {
    double x = 0;
    double y = 0;
};

struct TwipsRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// To the nearest pixel at `dpi`.
inline int TwipsToPixels(double twips, unsigned dpi) {
    double pixels = twips * dpi / kTwipsPerInch;
    return static_cast<int>(pixels < 0 ? pixels - 0.5 : pixels + 0.5);
}

inline double PixelsToTwips(int pixels, unsigned dpi) {
    return static_cast<double>(pixels) * kTwipsPerInch / dpi;
}

}  // namespace claverix::ui
