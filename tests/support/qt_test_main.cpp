// Test entry for every widget and pixel test: an offscreen QApplication with
// the program's font substitutions, so text metrics match the program's.
#include <gtest/gtest.h>
#include <QApplication>

#include "gfx/fonts.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  dorvane::gfx::InstallFontSubstitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
