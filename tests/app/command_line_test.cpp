// The real program's command line without any display: help, version, the
// files of --export (the same as the window's), and the exit statuses.
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "chart/chart.h"
#include "controls/flat_edit.h"
#include "controls/markup_check_box.h"
#include "forms/chart_files.h"
#include "forms/frm_main.h"
#include "platform/console.h"
#include "support/c_locale.h"
#include "support/divider.h"
#include "support/form_controls.h"
#include "support/small_disk.h"

#include <cstdio>

namespace dorvane {
namespace {

struct Outcome {
  int status = -1;
  QString out, err;
};

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    // The program runs under the French locale: a machine without it would
    // run every case in C.
    ASSERT_TRUE(test::ScopedCLocale("fr_FR.UTF-8").InForce()) << "fr_FR.UTF-8 is not generated";
  }

  // No display of any kind, nothing chosen for the toolkit, and no runtime
  // folder (as under su or in a container): standard error stays clean.
  Outcome Dorvane(const QStringList& args, const char* locale = "fr_FR.UTF-8") {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
      env.remove(var);
    env.insert("LC_ALL", locale);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir_.path());
    p.start(DORVANE_BINARY, args);
    Outcome r;
    if (!p.waitForFinished(60000)) {
      p.kill();
      p.waitForFinished();
      return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
#ifdef _WIN32
    // Windows' C library ends the lines it prints with "\r\n".
    r.out.remove(u'\r');
    r.err.remove(u'\r');
#endif
    return r;
  }
  QString Path(const QString& name) const {
    return dir_.filePath(name);
  }
  static QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QTemporaryDir dir_;
};

TEST_F(CommandLine, HelpAndVersionPrintAndEndWithoutADisplay) {
  const struct {
    QStringList args;
    const char* expected;
    const char* locale = "fr_FR.UTF-8";
  } cases[] = {
      {{"--help"}, "--export FICHIER"},
      {{"--help"}, "--no-resistor       Ni R1 ni R2"},
      {{"-h"}, "États de sortie"},
      {{"--version"}, "Dorvane " DORVANE_VERSION "\n"},
      {{"-v"}, "Dorvane " DORVANE_VERSION "\n"},
      // The examples as the running locale reads them, French punctuation.
      {{"--help"}, "12 ; 11,3 ; 11U3 ; 68U ; 120R ; 470E ; 12K8 ; 12,8K ; 1M3"},
      {{"--help"}, "12 ; 11.3 ; 11U3 ; 68U ; 120R ; 470E ; 12K8 ; 12.8K ; 1M3", "C.UTF-8"},
#ifdef _WIN32
      {{"/?"}, "--export FICHIER"},  // as Windows programs answer it
#endif
  };
  for (const auto& c : cases) {
    const Outcome r = Dorvane(c.args, c.locale);
    EXPECT_EQ(r.status, 0) << c.args.join(' ').toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.expected))) << r.out.toStdString();
    EXPECT_EQ(r.err, "");
  }
  EXPECT_EQ(Dorvane({"--version"}).out, "Dorvane " DORVANE_VERSION "\n");
}

// The window of this process, with the values a user would type.
class WindowAlike {
 public:
  WindowAlike(const char* locale, const QString& p1, const QString& r1, bool decibels,
              const LoadSettings& load = {}, bool band = false, bool bare = false) {
    qputenv("LC_ALL", locale);
    window_ = std::make_unique<forms::TfmMain>();
    qunsetenv("LC_ALL");
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    const testsupport::MainControls ui(*window_);
    if (!p1.isEmpty()) ui.edP1->setText(p1);
    if (!r1.isEmpty()) {
      QTest::mouseClick(ui.cbR1, Qt::LeftButton, {}, {5, 10});
      ui.edR1->setText(r1);
    }
    if (bare) QTest::mouseClick(ui.cbR2, Qt::LeftButton, {}, {5, 10});
    window_->setDecibels(decibels);
    window_->SetLoad(load);
    window_->setBand(band);
    QApplication::processEvents();
  }
  QImage Chart() {
    return testsupport::MainControls(*window_).Chart1->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  QByteArray File(forms::OutputType type) { return forms::WindowFileContents(*window_, type).data; }

 private:
  std::unique_ptr<forms::TfmMain> window_;
};

TEST_F(CommandLine, ExportWritesWhatTheWindowWouldSave) {
  const struct {
    const char* locale;
    QStringList values;
    QString p1, r1;
    bool decibels;
    LoadSettings load = {};
    bool band = false;
    bool bare = false;
    const char* title = nullptr;  // a column title of the values file
  } cases[] = {
      {"fr_FR.UTF-8", {}, {}, {}, false},
      {"C.UTF-8", {"--p1", "47K", "--r1", "4.7K"}, "47K", "4.7K", false},
      {"fr_FR.UTF-8", {"--r1", "2K2", "--p1", "10K"}, "10K", "2K2", false},
      {"fr_FR.UTF-8", {"--db", "--p1", "10K"}, "10K", {}, true},
      {"fr_FR.UTF-8",
       {"--load", "47K", "--band", "--r-tol", "2,5"},
       {},
       {},
       false,
       {"47K", 20, 2.5, "", "2,5"},
       true},
      {"C.UTF-8",
       {"--r1", "4K7", "--load", "10K", "--band", "--p1-tol", "10"},
       {},
       "4K7",
       false,
       {"10K", 10, 5, "10", ""},
       true},
      // The loaded bare track; the tolerance as typed, not rounded to 100.
      {"fr_FR.UTF-8",
       {"--no-resistor", "--load", "47K", "--band", "--p1-tol", "99,999"},
       {},
       {},
       false,
       {"47K", 99.999, 5, "99,999", ""},
       true,
       true,
       "Bande basse P1 100K ±99,999 % avec charge 47K (%)"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.values.join(' ').toStdString());
    WindowAlike window(c.locale, c.p1, c.r1, c.decibels, c.load, c.band, c.bare);
    for (const char* ext : {"png", "svg", "csv"}) {
      const QString file = Path(QStringLiteral("f%1.%2").arg(++n).arg(ext));
      const Outcome r = Dorvane(QStringList{"--export", file} + c.values, c.locale);
      ASSERT_EQ(r.status, 0) << ext << r.err.toStdString();
      EXPECT_EQ(r.err, "");
      if (QLatin1String(ext) == "png") {
        EXPECT_EQ(QImage(file, "PNG").convertToFormat(QImage::Format_RGB32), window.Chart());

      } else {
        EXPECT_EQ(Read(file), window.File(*forms::OutputTypeOf(file))) << ext;
        if (c.title && QLatin1String(ext) == "csv") {
          EXPECT_TRUE(Read(file).split('\n').front().split(';').contains(c.title))
              << Read(file).left(400).data();
        }
      }
    }
  }
  // A law without curves: the values file has its header alone.
  ASSERT_EQ(Dorvane({"--export", Path("loi.csv"), "--law", "1"}).status, 0);
  EXPECT_EQ(Read(Path("loi.csv")).count('\n'), 1);
}

TEST_F(CommandLine, ExportedPdfIsOnePageOfTheChart) {
  const Outcome r = Dorvane({"--export", Path("c.pdf")});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(Read(Path("c.pdf")).startsWith("%PDF-"));
}

// The dial in its four kinds; its marks against the circuit worked out
// apart, a mark never reached said and left out.
TEST_F(CommandLine, DialInAllFourKinds) {
  using testsupport::kNone;
  for (const char* ext : {"pdf", "svg", "png", "csv"}) {
    const QString file = Path(QStringLiteral("cadran.%1").arg(ext));
    const Outcome r = Dorvane({"--dial", file, "--db", "--dial-scale"});
    ASSERT_EQ(r.status, 0) << ext << r.err.toStdString();
    EXPECT_EQ(r.err, "");
  }
  EXPECT_TRUE(Read(Path("cadran.pdf")).startsWith("%PDF-"));
  EXPECT_TRUE(Read(Path("cadran.svg")).contains("mm\""));
  EXPECT_NEAR(QImage(Path("cadran.png")).dotsPerMeterX() * 0.0254, 300, 0.01);
  EXPECT_TRUE(
      Read(Path("cadran.csv")).startsWith("Repère (dB);Position (%);Angle (°)\n0,00;100,00;150,00\n"));

  const struct {
    QStringList args;
    const char* locale;
    double p, r1, r2, load, rotation;
  } cases[] = {
      {{"--p1", "47K", "--r1", "4.7K", "--dial-rotation", "270", "--dial-marks", "0; 25.5; 50; 120"},
       "C.UTF-8",
       47e3,
       4.7e3,
       kNone,
       kNone,
       270},
      {{"--r2", "13K", "--load", "47K", "--dial-rotation", "340", "--dial-marks", "0; 25,5; 50; 120"},
       "fr_FR.UTF-8",
       100e3,
       kNone,
       13e3,
       47e3,
       340},
  };
  int n = 0;
  for (const auto& c : cases) {
    const QString file = Path(QStringLiteral("r%1.csv").arg(++n));
    const Outcome r = Dorvane(QStringList{"--dial", file} + c.args, c.locale);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith(
        QString::fromUtf8("120 % n'est jamais atteint par la courbe : ce repère est laissé de côté.\n")))
        << r.err.toStdString();
    const bool comma = QLatin1String(c.locale) == "fr_FR.UTF-8";
    const QStringList lines = QString::fromUtf8(Read(file)).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    for (qsizetype i = 1; i < lines.size(); ++i) {
      const QStringList f = QString(lines[i]).replace(u',', comma ? u'.' : u',').split(comma ? u';' : u',');
      ASSERT_EQ(f.size(), 3) << lines[i].toStdString();
      const double t = testsupport::SearchedPosition(c.p, c.r1, c.r2, c.load, f[0].toDouble() / 100);
      EXPECT_NEAR(f[2].toDouble(), c.rotation * (t - 0.5), 0.005 + 1e-9) << lines[i].toStdString();
    }
  }
}

TEST_F(CommandLine, BadUsageSaysWhyInFrenchWritesNothingAndEndsWith2) {
  const struct {
    QStringList args;
    const char* says;
    const char* locale = "fr_FR.UTF-8";
  } cases[] = {
      {{"--inconnue"}, "option inconnue « --inconnue »"},
      {{"-x"}, "option inconnue « -x »"},
      {{"--", "x"}, "argument inattendu « x »"},
      {{"--export"}, "il manque une valeur après « --export »"},
      {{"--export", "c.txt"}, "type de fichier inconnu"},
      {{"--export", "c.png", "--r1", "1K", "--r2", "1K"}, "s'excluent"},
      {{"--export", "c.png", "--law", "3"}, "indice de loi incorrect"},
      {{"--export", "c.png", "--law", "un"}, "indice de loi incorrect"},
      {{"--export", "c.png", "--law", "-1"}, "indice de loi incorrect « -1 » (0, 1 ou 2)"},
      // An unreadable value is not a curve of zeros; the separator is named.
      {{"--export", "c.png", "--p1", "abc"}, "valeur incorrecte pour « --p1 » : « abc »"},
      {{"--export", "c.csv", "--p1", "4.7K"},
       "« 4.7K » (une résistance de plus de 0 ohm, par exemple 4K7 ou 4,7K ; le séparateur décimal est « , "
       "»)"},
      {{"--export", "c.csv", "--r1", "4,7K"}, "« --r1 » : « 4,7K »", "C.UTF-8"},
      {{"--export", "c.svg", "--p1", "0"}, "valeur incorrecte pour « --p1 » : « 0 »"},
      {{"--export", "c.svg", "--r2", "-"}, "valeur incorrecte pour « --r2 »"},
      // Read in part by the window's rule: refused whole here.
      {{"--export", "c.csv", "--p1", "10K5X"}, "« --p1 » : « 10K5X »"},
      {{"--export", "c.csv", "--p1", "4.7K7"}, "« --p1 » : « 4.7K7 »", "C.UTF-8"},
      {{"--export", "c.csv", "--r2", "4e-324"}, "« --r2 » : « 4e-324 »", "C.UTF-8"},
      {{"--export", "c.csv", "--p1", "99999999999"}, "« --p1 » : « 99999999999 »"},
      // Quoted as typed: only file names get the system's separators.
      {{"--export", "c.csv", "--p1", "4/7K"}, "valeur incorrecte pour « --p1 » : « 4/7K »"},
      {{"--dial", "d.csv", "--dial-marks", "1/2"}, "« --dial-marks » : « 1/2 »"},
#ifndef _WIN32
      {{"/?"}, "argument inattendu « /? »"},  // a file name here
#endif
      // One dash or two, the option is named as typed.
      {{"-help"}, "option inconnue « -help » (voulez-vous dire « --help » ?)"},
      {{"-export", "c.png"}, "option inconnue « -export » (voulez-vous dire « --export » ?)"},
      {{"--p1", "1K"}, "ne va qu'avec --export"},
      {{"--db"}, "ne va qu'avec --export"},
      {{"--export", "c.csv", "--load", "0"}, "« --load » : « 0 »"},
      {{"--export", "c.csv", "--band", "--p1-tol", "100"},
       "tolérance incorrecte pour « --p1-tol » : « 100 »"},
      // A tolerance is the band's; every option once, switches too.
      {{"--export", "c.csv", "--p1-tol", "10"}, "l'option « --p1-tol » ne va qu'avec --band"},
      {{"--export", "c.csv", "--r-tol", "1"}, "l'option « --r-tol » ne va qu'avec --band"},
      {{"--export", "c.csv", "--band", "--band"}, "l'option « --band » est donnée plusieurs fois"},
      {{"--export", "c.svg", "--db", "--db"}, "l'option « --db » est donnée plusieurs fois"},
      {{"--export", "c.csv", "--load", "1K", "--load", "2K"},
       "l'option « --load » est donnée plusieurs fois"},
      {{"-h", "--help"}, "l'option « --help » est donnée plusieurs fois"},
      {{"--dial", "c.csv", "--dial-scale", "--dial-scale"},
       "l'option « --dial-scale » est donnée plusieurs fois"},
      {{"--export", "c.csv", "--no-resistor", "--r2", "1K"}, "--r2 et --no-resistor s'excluent"},
      {{"--no-resistor"}, "ne va qu'avec --export"},
      {{"--export", "c.png", "en trop"}, "argument inattendu"},
      {{"courbe.png"}, "argument inattendu"},
      // The dial: each value named; no mark reached is no dial.
      {{"--dial", "d.pdf", "--dial-rotation", "100"},
       "valeur incorrecte pour « --dial-rotation » : « 100 » (un nombre de degrés de 180 à 340"},
      {{"--dial", "d.pdf", "--dial-diameter", "40.5"}, "« --dial-diameter » : « 40.5 »"},
      {{"--dial", "d.pdf", "--dial-diameter", "19"}, "de 20 à 100"},
      {{"--dial", "d.csv", "--dial-marks", "0;;-3"}, "« --dial-marks » : « 0;;-3 » (un repère est vide"},
      {{"--dial", "d.csv", "--db", "--dial-marks", "3; 6"},
       "aucun repère n'est atteint par la courbe (3 dB et 6 dB)"},
      {{"--dial", "d.pdf", "--law", "2"}, "la loi 2 de P1 n'a pas de courbe"},
      {{"--dial", "d.pdf", "--p1", "0"}, "valeur incorrecte pour « --p1 » : « 0 »"},
      {{"--dial", "d.pdf", "--band"}, "l'option « --band » ne va qu'avec --export"},
      {{"--dial", "d.pdf", "--export", "c.png"}, "--export et --dial s'excluent"},
      {{"--dial-marks", "0"}, "l'option « --dial-marks » ne va qu'avec --dial"},
  };
  for (const auto& c : cases) {
    const Outcome r = Dorvane(c.args, c.locale);
    EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

// The toolkit's own options, however written, open the window (here: no
// display, so the program says so) instead of an off-screen window that
// nobody sees and that never ends; with --export they change nothing.
TEST_F(CommandLine, ToolkitOptionsOpenTheWindowAndLeaveExportAlone) {
  for (const QStringList& args :
       {QStringList{"--style=fusion"}, {"--reverse"}, {"--"}, {"-style", "fusion"}}) {
    const Outcome r = Dorvane(args);
    EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains("aucun affichage")) << r.err.toStdString();
  }
  const Outcome r = Dorvane({"--reverse", "--export", Path("c.csv"), "-display", ":9", "--style=fusion"});
  EXPECT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(Read(Path("c.csv")).startsWith("\xEF\xBB\xBFPosition"));
}

TEST_F(CommandLine, AFileThatCannotBeWrittenEndsWith1AndKeepsWhatWasThere) {
  QDir(dir_.path()).mkdir("dossier.png");
  {
    QFile plain(Path("fichier"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("garde");
  }
  for (const QString& target : {Path("dossier.png"), Path("fichier/c.csv")}) {
    const Outcome r = Dorvane({"--export", target});
    EXPECT_EQ(r.status, 1) << target.toStdString();
    EXPECT_TRUE(r.err.contains(QDir::toNativeSeparators(target))) << r.err.toStdString();
  }
  EXPECT_TRUE(QFileInfo(Path("dossier.png")).isDir());
  EXPECT_EQ(Read(Path("fichier")), "garde");
}

// On a real full disk (a 20 KiB tmpfs), with no room at all or with room for
// a part of the file: the old file is kept byte for byte, nothing is left.
TEST_F(CommandLine, AFullDiskEndsWith1AndLeavesTheDiskAsItWas) {
  testsupport::SmallDisk disk(20);
  if (!disk.Problem().isEmpty()) GTEST_SKIP() << disk.Problem().toStdString();
  for (const char* ext : {"png", "csv", "svg", "pdf"})
    for (const QByteArray old : {"ancien\n", ""})
      for (const qint64 room : {0, 4096}) {
        SCOPED_TRACE(QStringLiteral("%1, %2, %3 octets libres").arg(ext, old).arg(room).toStdString());
        const QString file = disk.Path(QStringLiteral("courbe.") + ext);
        ASSERT_TRUE(disk.Prepare(file, old, room));
        const QStringList before = disk.Entries();
        const Outcome r = Dorvane({"--export", file});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, QStringLiteral(
                             "dorvane : Le fichier %1 n'a pas pu être enregistré : le disque est plein.\n")
                             .arg(forms::QuotedFile(file)));
        EXPECT_EQ(disk.Entries(), before);
        EXPECT_EQ(Read(file), old);
      }
}

// The messages' text: a file or a pipe gets the UTF-8 bytes (a Windows
// console, its characters: tests/windows/e2e.sh, which has a display for
// Wine's consoles).
TEST(Console, AFileGetsTheUtf8Bytes) {
  const std::string text = "valeur par défaut ± 4,7 kΩ\n";
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  platform::WriteText(file, text);
  std::rewind(file);
  std::string bytes(64, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  EXPECT_EQ(bytes, text);
}

}  // namespace
}  // namespace dorvane
