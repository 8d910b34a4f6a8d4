// Test entry for every widget and pixel test: a QApplication without a
// display, with the program's font substitutions, so text metrics match the
// program's.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFontDatabase>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

#include "gfx/fonts.h"
#include "platform/desktop.h"

int main(int argc, char** argv) {
  // The program's own window-less platform: on Windows the offscreen one
  // finds no fonts and draws every character as an empty box. Set here, not
  // by the test run: Wine keeps QT_* variables from Windows programs
  // (WINEQT_QPA_PLATFORM passes one).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", dorvane::platform::WindowlessPlatform());
  QApplication app(argc, argv);
  if (QFontDatabase::families().isEmpty()) {
    std::fprintf(stderr, "The platform \"%s\" finds no fonts: every text measure would be wrong.\n",
                 qPrintable(QGuiApplication::platformName()));
    return 1;
  }
  dorvane::gfx::InstallFontSubstitutions();
  // The program's settings (the save dialogs' last folder) go to a folder of
  // this run, never the user's (Windows keeps them in the run's own prefix).
  QTemporaryDir settings;
  for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, settings.path());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
