#pragma once
// A real main window shown offscreen under a chosen numeric locale, for the
// window's interaction tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "forms/frm_main.h"
#include "ui_frm_main.h"

namespace dorvane::testsupport {

class ShownMainWindow : public ::testing::Test {
 protected:
  void Open(const char* locale = "fr_FR.UTF-8") {
    qputenv("LC_ALL", locale);
    window_ = std::make_unique<forms::TfmMain>();
    window_->show();
    QApplication::setActiveWindow(window_.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
  void TearDown() override {
    window_.reset();
    qunsetenv("LC_ALL");
  }
  Ui::TfmMain& ui() { return window_->controls(); }

  std::unique_ptr<forms::TfmMain> window_;
};

}  // namespace dorvane::testsupport
