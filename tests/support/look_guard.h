#pragma once
// Switches the controls' look for one test and back to the themed default.
#include "controls/look.h"

namespace dorvane::testsupport {

struct LookGuard {
  explicit LookGuard(bool themed) { controls::SetThemedLook(themed); }
  ~LookGuard() { controls::SetThemedLook(true); }
  LookGuard(const LookGuard&) = delete;
  LookGuard& operator=(const LookGuard&) = delete;
};

}  // namespace dorvane::testsupport
