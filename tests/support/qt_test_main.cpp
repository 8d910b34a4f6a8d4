// Test entry for every widget and pixel test: a QApplication without a
// display, with the program's font substitutions, so text metrics match the
// program's.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFontDatabase>
#include <cstdio>

#include "gfx/fonts.h"

int main(int argc, char** argv) {
  // On Windows the offscreen platform finds no fonts (it looks in the
  // toolkit's own font folder) and draws every character as an empty box as
  // wide as the font is high; the minimal one with the system's fonts
  // measures as the program does. Set here, not by the test run: Wine keeps
  // QT_* variables from Windows programs (WINEQT_QPA_PLATFORM passes one).
#ifdef Q_OS_WIN
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
#else
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  QApplication app(argc, argv);
  if (QFontDatabase::families().isEmpty()) {
    std::fprintf(stderr, "The platform \"%s\" finds no fonts: every text measure would be wrong.\n",
                 qPrintable(QGuiApplication::platformName()));
    return 1;
  }
  dorvane::gfx::InstallFontSubstitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
