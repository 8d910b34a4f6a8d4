#pragma once
// Colours as the program stores them: 0x00BBGGRR, red in the low byte.
#include <cstdint>
#include <optional>
#include <string_view>

#include <QColor>

namespace dorvane::gfx {

using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
  return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}
constexpr int RedOf(Colour c) {
  return int(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
  return int((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c) {
  return int((c >> 16) & 0xFF);
}

inline constexpr Colour clBlack = 0x000000;
inline constexpr Colour clMaroon = 0x000080;
inline constexpr Colour clGreen = 0x008000;
inline constexpr Colour clOlive = 0x008080;
inline constexpr Colour clNavy = 0x800000;
inline constexpr Colour clPurple = 0x800080;
inline constexpr Colour clTeal = 0x808000;
inline constexpr Colour clGray = 0x808080;
inline constexpr Colour clSilver = 0xC0C0C0;
inline constexpr Colour clRed = 0x0000FF;
inline constexpr Colour clLime = 0x00FF00;
inline constexpr Colour clYellow = 0x00FFFF;
inline constexpr Colour clBlue = 0xFF0000;
inline constexpr Colour clFuchsia = 0xFF00FF;
inline constexpr Colour clAqua = 0xFFFF00;
inline constexpr Colour clWhite = 0xFFFFFF;

// "No colour": never painted.
inline constexpr Colour clNone = 0x1FFFFFFF;
// "Not set": use the default of whoever draws.
inline constexpr Colour clAutomatic = 0x80000000;

// System colours: resolved through the application palette when drawn.
inline constexpr Colour clSystemColor = 0xFF000000;
inline constexpr Colour clScrollBar = clSystemColor | 0;
inline constexpr Colour clBackground = clSystemColor | 1;
inline constexpr Colour clActiveCaption = clSystemColor | 2;
inline constexpr Colour clInactiveCaption = clSystemColor | 3;
inline constexpr Colour clMenu = clSystemColor | 4;
inline constexpr Colour clWindow = clSystemColor | 5;
inline constexpr Colour clWindowFrame = clSystemColor | 6;
inline constexpr Colour clMenuText = clSystemColor | 7;
inline constexpr Colour clWindowText = clSystemColor | 8;
inline constexpr Colour clCaptionText = clSystemColor | 9;
inline constexpr Colour clActiveBorder = clSystemColor | 10;
inline constexpr Colour clInactiveBorder = clSystemColor | 11;
inline constexpr Colour clAppWorkSpace = clSystemColor | 12;
inline constexpr Colour clHighlight = clSystemColor | 13;
inline constexpr Colour clHighlightText = clSystemColor | 14;
inline constexpr Colour clBtnFace = clSystemColor | 15;
inline constexpr Colour clBtnShadow = clSystemColor | 16;
inline constexpr Colour clGrayText = clSystemColor | 17;
inline constexpr Colour clBtnText = clSystemColor | 18;
inline constexpr Colour clInactiveCaptionText = clSystemColor | 19;
inline constexpr Colour clBtnHighlight = clSystemColor | 20;
inline constexpr Colour cl3DDkShadow = clSystemColor | 21;
inline constexpr Colour cl3DLight = clSystemColor | 22;
inline constexpr Colour clInfoText = clSystemColor | 23;
inline constexpr Colour clInfoBk = clSystemColor | 24;

constexpr bool IsSystemColour(Colour c) {
  return (c & 0xFF000000u) == clSystemColor && (c & 0xFFu) <= 24;
}

// The RGB value a colour has right now (system colours resolved); clNone and
// clAutomatic pass unchanged.
Colour ToRgb(Colour c);
// For painting. clNone gives a transparent QColor.
QColor ToQColor(Colour c);
Colour FromQColor(const QColor& c);

// Colour names with their "cl" prefix ("clRed", "clBtnFace"), case-insensitive.
std::optional<Colour> ColourFromName(std::string_view name);

}  // namespace dorvane::gfx
