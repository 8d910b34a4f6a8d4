#include "gfx/colour.h"

#include <array>
#include <cctype>

#include <QGuiApplication>
#include <QPalette>

namespace dorvane::gfx {
namespace {

QColor SystemColour(int index) {
  const QPalette pal = QGuiApplication::palette();
  switch (index) {
    case 0:
      return pal.color(QPalette::Mid);  // scroll bar
    case 1:
      return pal.color(QPalette::Window);  // desktop
    case 2:
      return pal.color(QPalette::Highlight);  // active caption
    case 3:
      return pal.color(QPalette::Mid);  // inactive caption
    case 4:
      return pal.color(QPalette::Window);  // menu
    case 5:
      return pal.color(QPalette::Base);  // window
    case 6:
      return pal.color(QPalette::Shadow);  // window frame
    case 7:
      return pal.color(QPalette::WindowText);  // menu text
    case 8:
      return pal.color(QPalette::Text);  // window text
    case 9:
      return pal.color(QPalette::HighlightedText);  // caption text
    case 10:
      return pal.color(QPalette::Button);  // active border
    case 11:
      return pal.color(QPalette::Button);  // inactive border
    case 12:
      return pal.color(QPalette::Mid);  // MDI background
    case 13:
      return pal.color(QPalette::Highlight);
    case 14:
      return pal.color(QPalette::HighlightedText);
    case 15:
      return pal.color(QPalette::Button);  // button face
    case 16:
      return pal.color(QPalette::Dark);  // button shadow
    case 17:
      return pal.color(QPalette::Disabled, QPalette::Text);
    case 18:
      return pal.color(QPalette::ButtonText);
    case 19:
      return pal.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20:
      return pal.color(QPalette::Light);  // button highlight
    case 21:
      return pal.color(QPalette::Shadow);
    case 22:
      return pal.color(QPalette::Midlight);
    case 23:
      return pal.color(QPalette::ToolTipText);
    case 24:
      return pal.color(QPalette::ToolTipBase);
    default:
      return Qt::black;
  }
}

struct NamedColour {
  std::string_view name;
  Colour value;
};

constexpr std::array<NamedColour, 42> kNames{{
    {"clblack", clBlack},
    {"clmaroon", clMaroon},
    {"clgreen", clGreen},
    {"clolive", clOlive},
    {"clnavy", clNavy},
    {"clpurple", clPurple},
    {"clteal", clTeal},
    {"clgray", clGray},
    {"clsilver", clSilver},
    {"clred", clRed},
    {"cllime", clLime},
    {"clyellow", clYellow},
    {"clblue", clBlue},
    {"clfuchsia", clFuchsia},
    {"claqua", clAqua},
    {"clwhite", clWhite},
    {"clscrollbar", clScrollBar},
    {"clbackground", clBackground},
    {"clactivecaption", clActiveCaption},
    {"clinactivecaption", clInactiveCaption},
    {"clmenu", clMenu},
    {"clwindow", clWindow},
    {"clwindowframe", clWindowFrame},
    {"clmenutext", clMenuText},
    {"clwindowtext", clWindowText},
    {"clcaptiontext", clCaptionText},
    {"clactiveborder", clActiveBorder},
    {"clinactiveborder", clInactiveBorder},
    {"clappworkspace", clAppWorkSpace},
    {"clhighlight", clHighlight},
    {"clhighlighttext", clHighlightText},
    {"clbtnface", clBtnFace},
    {"clbtnshadow", clBtnShadow},
    {"clgraytext", clGrayText},
    {"clbtntext", clBtnText},
    {"clinactivecaptiontext", clInactiveCaptionText},
    {"clbtnhighlight", clBtnHighlight},
    {"cl3ddkshadow", cl3DDkShadow},
    {"cl3dlight", cl3DLight},
    {"clinfotext", clInfoText},
    {"clinfobk", clInfoBk},
    {"clnone", clNone},
}};

}  // namespace

Colour ToRgb(Colour c) {
  if (IsSystemColour(c)) return FromQColor(SystemColour(int(c & 0xFF)));
  return c;
}

QColor ToQColor(Colour c) {
  if (c == clNone) return QColor(Qt::transparent);
  if (IsSystemColour(c)) return SystemColour(int(c & 0xFF));
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

Colour FromQColor(const QColor& c) {
  return Rgb(c.red(), c.green(), c.blue());
}

std::optional<Colour> ColourFromName(std::string_view name) {
  for (const auto& entry : kNames) {
    if (entry.name.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < name.size() && same; ++i)
      same = std::tolower(static_cast<unsigned char>(name[i])) == entry.name[i];
    if (same) return entry.value;
  }
  return std::nullopt;
}

}  // namespace dorvane::gfx
