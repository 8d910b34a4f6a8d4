#pragma once
// Switches the controls' look for one test and back to the themed default.
#include <QApplication>
#include <QPalette>

#include "controls/look.h"

namespace dorvane::testsupport {

struct LookGuard {
  explicit LookGuard(bool themed) { controls::SetThemedLook(themed); }
  ~LookGuard() { controls::SetThemedLook(true); }
  LookGuard(const LookGuard&) = delete;
  LookGuard& operator=(const LookGuard&) = delete;
};

// A dark palette on the application for one test, as a dark desktop theme
// gives, then the one before.
struct DarkPaletteGuard {
  DarkPaletteGuard() : saved_(QApplication::palette()) {
    QPalette dark;
    const QColor window(53, 53, 53), base(35, 35, 35), text(238, 238, 236);
    for (auto role : {QPalette::Window, QPalette::Button}) dark.setColor(role, window);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
      dark.setColor(role, text);
    dark.setColor(QPalette::Light, QColor(80, 80, 80));
    dark.setColor(QPalette::Midlight, QColor(66, 66, 66));
    dark.setColor(QPalette::Mid, QColor(40, 40, 40));
    dark.setColor(QPalette::Dark, QColor(25, 25, 25));
    dark.setColor(QPalette::Shadow, Qt::black);
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    QApplication::setPalette(dark);
  }
  ~DarkPaletteGuard() { QApplication::setPalette(saved_); }
  DarkPaletteGuard(const DarkPaletteGuard&) = delete;
  DarkPaletteGuard& operator=(const DarkPaletteGuard&) = delete;

 private:
  QPalette saved_;
};

}  // namespace dorvane::testsupport
