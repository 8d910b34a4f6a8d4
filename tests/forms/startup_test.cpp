#include "forms/startup.h"
#include "platform/desktop.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <string>
#include <vector>

namespace dorvane::forms {
namespace {

TEST(Startup, TitleFromProgramFile) {
  const struct {
    const char* path;
    const char* title;
  } cases[] = {
      {"/usr/bin/dorvane", "dorvane"},
      {"/opt/x/DORVANE.bin", "Dorvane"},
      {"Dorvane.tar.gz", "Dorvane"},
      {"./build/a.b/PotCalc", "Potcalc"},
      {"x", "x"},
      {".hidden", ""},
      {"/usr/bin/Éclair", "Éclair"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TitleFromProgramFile(QString::fromUtf8(c.path)), QString::fromUtf8(c.title)) << c.path;
    // The message boxes' title: Windows users know the program as "Dorvane".
#ifdef Q_OS_WIN
  EXPECT_EQ(platform::ProgramTitle(TitleFromProgramFile("C:/Program Files/Dorvane/dorvane.exe")), "Dorvane");
#else
  EXPECT_EQ(platform::ProgramTitle(TitleFromProgramFile("/usr/bin/dorvane")), "dorvane");
#endif
}

// Sets environment variables for one scope and puts them back.
class EnvGuard {
 public:
  explicit EnvGuard(std::initializer_list<std::pair<const char*, const char*>> vars) {
    for (auto [name, value] : vars) {
      saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
      if (value)
        qputenv(name, value);
      else
        qunsetenv(name);
    }
  }
  ~EnvGuard() {
    for (const auto& s : saved_) {
      if (s.set)
        qputenv(s.name, s.value);
      else
        qunsetenv(s.name);
    }
  }

 private:
  struct Saved {
    const char* name;
    QByteArray value;
    bool set;
  };
  std::vector<Saved> saved_;
};

TEST(Startup, DecimalSeparatorFromTheNumericLocale) {
  const struct {
    const char *all, *numeric, *lang;
    char expected;
  } cases[] = {
      {nullptr, nullptr, "fr_FR.UTF-8", ','}, {nullptr, "fr_FR.UTF-8", "en_US.UTF-8", ','},
      {"en_GB.UTF-8", "fr_FR", "fr_FR", '.'}, {nullptr, "de_DE@euro", nullptr, ','},
      {nullptr, nullptr, "C.UTF-8", '.'},     {nullptr, nullptr, nullptr, '.'},
      {"POSIX", nullptr, nullptr, '.'},       {nullptr, nullptr, "xx_YY", '.'},
  };
  for (const auto& c : cases) {
    EnvGuard env{{"LC_ALL", c.all}, {"LC_NUMERIC", c.numeric}, {"LANG", c.lang}};
    EXPECT_EQ(NumericDecimalSeparator(), c.expected)
        << (c.all ? c.all : "-") << " " << (c.numeric ? c.numeric : "-") << " " << (c.lang ? c.lang : "-");
  }
}

// The main window places itself; the toolkit keeps its other options.
TEST(Startup, PlacementOptionsTakenOut) {
  const struct {
    std::vector<std::string> in, out;
  } cases[] = {
      {{"dorvane", "-geometry", "-0-0", "-style", "fusion"}, {"dorvane", "-style", "fusion"}},
      {{"dorvane", "--qwindowgeometry", "+1+1", "--reverse"}, {"dorvane", "--reverse"}},
      {{"dorvane", "-geometry"}, {"dorvane", "-geometry"}},  // no value: not the toolkit's
      {{"dorvane", "--", "-geometry", "+1+1"}, {"dorvane", "--", "-geometry", "+1+1"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> storage = c.in;
    std::vector<char*> argv;
    for (std::string& a : storage) argv.push_back(a.data());
    argv.push_back(nullptr);
    int argc = int(storage.size());
    TakeOutPlacementOptions(argc, argv.data());
    const std::vector<std::string> out(argv.begin(), argv.begin() + argc);
    EXPECT_EQ(out, c.out) << c.in[1];
    EXPECT_EQ(argv[size_t(argc)], nullptr);
  }
}

TEST(Startup, DisplayProblemIsPlainFrench) {
  {
    EnvGuard env{{"QT_QPA_PLATFORM", nullptr}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}};
    EXPECT_TRUE(DisplayProblem().contains("DISPLAY"));
  }
  {
    EnvGuard env{{"QT_QPA_PLATFORM", nullptr}, {"DISPLAY", ":9917"}, {"WAYLAND_DISPLAY", nullptr}};
    EXPECT_TRUE(DisplayProblem().contains(":9917"));
  }
  {
    EnvGuard env{{"QT_QPA_PLATFORM", "offscreen"}, {"DISPLAY", nullptr}};
    EXPECT_TRUE(DisplayProblem().isEmpty());
  }
}

}  // namespace
}  // namespace dorvane::forms
