#pragma once
// Puts the C library under a locale for one scope, as the toolkit does from
// the environment at start-up, and says whether it really took: a locale that
// is not generated leaves C in force, and a test run that way proves nothing.
#include <clocale>
#include <cstring>
#include <string>

namespace dorvane::test {

// Windows' C library knows the same locales by other names.
inline const char* CLocaleName(const char* name) {
#ifdef _WIN32
  if (std::strcmp(name, "fr_FR.UTF-8") == 0) return "French_France.1252";
  if (std::strcmp(name, "C.UTF-8") == 0) return "C";
#endif
  return name;
}

class ScopedCLocale {
 public:
  explicit ScopedCLocale(const char* name) : saved_(std::setlocale(LC_ALL, nullptr)) {
    inForce_ = std::setlocale(LC_ALL, CLocaleName(name)) != nullptr;
  }
  ~ScopedCLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  ScopedCLocale(const ScopedCLocale&) = delete;
  ScopedCLocale& operator=(const ScopedCLocale&) = delete;

  bool InForce() const { return inForce_; }
  // What printf writes for a decimal point now.
  static std::string DecimalPoint() { return std::localeconv()->decimal_point; }

 private:
  std::string saved_;
  bool inForce_ = false;
};

// The locales every number test runs under: a decimal comma first, so that
// nothing remembered from the default one hides it, then the default.
inline constexpr const char* kTestLocales[] = {"fr_FR.UTF-8", "C.UTF-8"};

}  // namespace dorvane::test
