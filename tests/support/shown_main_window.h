#pragma once
// A real main window shown offscreen under a chosen numeric locale, for the
// window's interaction tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>
#include <optional>

#include "forms/frm_main.h"
#include "support/form_controls.h"

namespace dorvane::testsupport {

class ShownMainWindow : public ::testing::Test {
 protected:
  void Open(const char* locale = "fr_FR.UTF-8") {
    qputenv("LC_ALL", locale);
    controls_.reset();
    window_ = std::make_unique<forms::TfmMain>();
    controls_.emplace(*window_);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
  void TearDown() override {
    controls_.reset();
    window_.reset();
    qunsetenv("LC_ALL");
  }
  MainControls& ui() { return *controls_; }

  std::unique_ptr<forms::TfmMain> window_;
  std::optional<MainControls> controls_;  // found as the window opens
};

}  // namespace dorvane::testsupport
