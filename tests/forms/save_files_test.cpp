// The Fichier menu's files (chart as PNG, SVG, PDF; values as CSV), their
// failure report, and the values under the pointer.
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>
#include <QXmlStreamReader>
#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "support/shown_main_window.h"
#include "support/small_disk.h"

#include "chart/chart.h"
#include "controls/flat_edit.h"
#include "controls/markup_check_box.h"
#include "forms/chart_files.h"
#include "forms/chart_value_tip.h"
#include "forms/frm_dial.h"
#include "forms/frm_main.h"
#include "forms/save_dialogs.h"

namespace dorvane::forms {
namespace {

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs `action`; every modal widget that shows meanwhile is handed to `answer`.
void WhileModal(const std::function<void()>& action, const std::function<void(QWidget*)>& answer) {
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) answer(modal);
  });
  timer.start(20);
  action();
  timer.stop();
}

// Whether a message box's label shows its whole text within its width.
bool WholeTextShown(QMessageBox* box) {
  auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (!label) return false;
  QTextLayout layout(label->text().replace(u'\n', QChar::LineSeparator), label->font());
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  const int width = label->contentsRect().width();
  bool fits = true;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    fits = fits && line.naturalTextWidth() <= width;
  }
  layout.endLayout();
  return fits;
}

// A menu item's dialog driven as a user would: `name` typed once and
// "Enregistrer" pressed; every message box recorded and answered with the
// button labelled `answer` (or its only one); the dialog, if still open
// after that, cancelled.
struct Dialogue {
  QString startedIn;
  bool saveEnabled = false;
  bool stayedOpen = false;  // for the name to be typed again
  QStringList messages;     // without their break opportunities
  bool wholeTextShown = true;
};
Dialogue Drive(QAction* item, const QString& name, const QString& answer = QStringLiteral("&Non")) {
  Dialogue d;
  bool typed = false, dialPressed = false;
  int ticks = 0;
  WhileModal([&] { item->trigger(); },
             [&](QWidget* modal) {
               if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                 d.messages << box->text().remove(QChar(0x200B));
                 d.wholeTextShown = d.wholeTextShown && WholeTextShown(box);
                 QAbstractButton* pick = box->buttons().size() == 1 ? box->buttons().first() : nullptr;
                 for (QAbstractButton* b : box->buttons())
                   if (b->text() == answer) pick = b;
                 if (pick) pick->click();
                 return;
               }
               // The dial's own dialog first: "Enregistrer..." once; after
               // the file dialog, when it stayed open, cancelled.
               if (auto* dial = qobject_cast<TfmDial*>(modal)) {
                 if (typed) return dial->reject();
                 if (!dialPressed)
                   QMetaObject::invokeMethod(testsupport::DialControls(*dial).btnSave, &QPushButton::click,
                                             Qt::QueuedConnection);
                 dialPressed = true;
                 return;
               }
               auto* dialog = qobject_cast<QFileDialog*>(modal);
               if (!dialog) return;
               if (typed) {
                 d.stayedOpen = true;
                 return dialog->reject();
               }
               // The dialog puts its proposed name in once it has read its
               // folder; a name typed before that would be overwritten.
               auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
               if (!edit || !edit->text().contains(u'.') || ++ticks < 5) return;
               d.startedIn = dialog->directory().absolutePath();
               edit->setText(name);
               QPushButton* save = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save);
               d.saveEnabled = save->isEnabled();
               typed = true;
               // Out of this timer's call: a question it raises gets answered.
               QMetaObject::invokeMethod(save, &QPushButton::click, Qt::QueuedConnection);
             });
  return d;
}

class SaveFiles : public testsupport::ShownMainWindow {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    Open();
    Settle();
  }
  chart::TChart& chart() { return *ui().Chart1; }
  QImage ChartOnScreen() { return chart().grab().toImage().convertToFormat(QImage::Format_RGB32); }
  // An absolute name stays as it is.
  QString Path(const QString& name) const { return QDir(dir_.path()).filePath(name); }

  QTemporaryDir dir_;
};

TEST_F(SaveFiles, PngIsTheWindowsChartPixelForPixel) {
  ASSERT_TRUE(SaveWithReport(*window_, Path("c.png"), OutputType::Png));
  const QImage saved(Path("c.png"), "PNG");
  ASSERT_EQ(saved.size(), QSize(345, 321));
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), ChartOnScreen());
}

TEST_F(SaveFiles, SvgParsesAndKeepsItsTitlesAsText) {
  ASSERT_TRUE(SaveWithReport(*window_, Path("c.svg"), OutputType::Svg));
  QFile file(Path("c.svg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  QStringList texts;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text")
      texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  for (const char* title : {"Montage en Pseudo Log (Log Pos)", "Position curseur (en % de la course totale)",
                            "Valeur résistance Rb (en % de la valeur totale)"})
    EXPECT_TRUE(texts.contains(QString::fromUtf8(title))) << title;
}

TEST_F(SaveFiles, PdfIsOnePageOfTheChartsSizeWithItsTitlesAsText) {
  if (QStandardPaths::findExecutable("pdfinfo").isEmpty() ||
      QStandardPaths::findExecutable("pdftotext").isEmpty())
    GTEST_SKIP() << "poppler-utils not installed";
  ASSERT_TRUE(SaveWithReport(*window_, Path("c.pdf"), OutputType::Pdf));
  auto run = [](const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
  };
  const QString info = run("pdfinfo", {Path("c.pdf")});
  EXPECT_TRUE(info.contains(QRegularExpression(R"(Pages:\s+1\n)"))) << info.toStdString();
  // 345 x 321 pixels at 96 per inch.
  EXPECT_TRUE(info.contains(QRegularExpression(R"(Page size:\s+258\.75 x 240\.75 pts)")))
      << info.toStdString();
  const QString text = run("pdftotext", {Path("c.pdf"), "-"});
  for (const char* title : {"Montage en Pseudo Log (Log Pos)", "Position curseur (en % de la course totale)",
                            "Valeur résistance Rb (en % de la valeur totale)"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(title))) << title << "\n" << text.toStdString();
}

TEST_F(SaveFiles, CsvFollowsTheWindowsValuesAndSeparator) {
  // R1 = 4K7 fitted by the user, P1 = 47K.
  ui().edP1->setText("47K");
  QTest::mouseClick(ui().cbR1, Qt::LeftButton, {}, {5, 10});
  ui().edR1->setText("4K7");
  Settle();
  ASSERT_TRUE(ui().cbR1->Checked());
  const Curves expected = ComputeCurves(0, LoadedCircuit(47000, 4700, 10000, true, false));
  for (char separator : {',', '.'}) {
    window_->setDecimalSeparator(separator);
    ui().edR1->setText(separator == ',' ? "4,7K" : "4.7K");
    const QString path = Path(QStringLiteral("v%1.csv").arg(int(separator)));
    ASSERT_TRUE(SaveWithReport(*window_, path, OutputType::Csv));
    const QByteArray bytes = Read(path);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBFPosition (%)")) << bytes.left(20).toHex().constData();
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(u'\n');
    ASSERT_EQ(lines.size(), 103) << separator;  // header, 101 rows, nothing after the last "\n"
    const QChar field = separator == ',' ? u';' : u',';
    for (int i : {0, 10, 50, 99}) {
      const QStringList row = lines[i + 1].split(field);
      ASSERT_EQ(row.size(), 7) << lines[i + 1].toStdString();
      EXPECT_EQ(row[2], QString::number(expected.loaded[i].y, 'f', 4).replace(u'.', QChar(separator))) << i;
    }
  }
}

#ifndef _WIN32  // pipes and permission bits
TEST_F(SaveFiles, AFailureKeepsWhatWasThereAndNamesTheFileAndTheReason) {
  QDir(dir_.path()).mkdir("dossier.png");
  ASSERT_TRUE(QFile(Path("dossier.png/dedans")).open(QIODevice::WriteOnly));
  ASSERT_EQ(::mkfifo(Path("tube.csv").toLocal8Bit().constData(), 0600), 0);
  {
    QFile plain(Path("fichier"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("garde");
  }
  const struct {
    const char* name;
    const char* reason;
  } cases[] = {
      {"dossier.png", "ce nom est celui d'un dossier"},
      {"fichier/c.png", "n'est pas un dossier"},
      {"absent/c.png", "n'existe pas"},
      {"tube.csv", "n'est pas celui d'un fichier ordinaire"},
  };
  for (const auto& c : cases) {
    const QString path = Path(c.name);
    QStringList shown;
    bool saved = true;
    WhileModal([&] { saved = SaveWithReport(*window_, path, OutputType::Png); },
               [&](QWidget* modal) {
                 if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                   shown << box->text().remove(QChar(0x200B));  // its break opportunities
                   box->accept();
                 }
               });
    EXPECT_FALSE(saved) << c.name;
    ASSERT_EQ(shown.size(), 1) << c.name;
    EXPECT_TRUE(shown[0].contains(QDir::toNativeSeparators(path))) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(QString::fromUtf8(c.reason))) << shown[0].toStdString();
  }
  EXPECT_TRUE(QFileInfo(Path("dossier.png/dedans")).exists());
  EXPECT_EQ(Read(Path("fichier")), "garde");
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size(), 3);
  EXPECT_FALSE(QFileInfo(Path("tube.csv")).isFile());
}

TEST_F(SaveFiles, AnUnwritableFolderKeepsTheExistingFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  const QString path = Path("c.png");
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("ancien");
  }
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner);
  const QString reason = WriteFileAtomically(path, "nouveau");
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_EQ(Read(path), "ancien");
}
#endif

TEST_F(SaveFiles, MenuItemsOpenTheDialogsInTheFolderUsedLast) {
  QStringList captions;
  for (QAction* a : ui().Fichier1->actions())
    captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(captions, (QStringList{"&Enregistrer le graphique sous...", "E&xporter les valeurs...",
                                   "E&nregistrer le cadran sous...", "-", "&Quitter"}));

  QDir(dir_.path()).mkdir("ici");
  const Dialogue chart = Drive(ui().Enregistrerlegraphiquesous1, Path("ici/image"));
  const Dialogue values = Drive(ui().Exporterlesvaleurs1, Path("ici/valeurs"));
  QAction* dial = window_->findChild<QAction*>("Enregistrerlecadransous1");
  ASSERT_NE(dial, nullptr);
  const Dialogue dialFile = Drive(dial, Path("ici/cadran"));
  // A save that fails leaves the folder of the last good one.
  const Dialogue failed = Drive(ui().Enregistrerlegraphiquesous1, "/sys/dorvane-test.png");
  const Dialogue after = Drive(ui().Exporterlesvaleurs1, "");
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  EXPECT_EQ(chart.startedIn, QFileInfo(documents).isDir() ? documents : QDir::homePath());
  EXPECT_EQ(values.startedIn, Path("ici"));
  EXPECT_EQ(dialFile.startedIn, Path("ici"));
  EXPECT_EQ(failed.messages.size(), 1);
  EXPECT_EQ(after.startedIn, Path("ici"));
  // Kept for the next run in the user's settings (under the test's own
  // settings folder here).
  const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Dorvane", "Dorvane");
  EXPECT_EQ(settings.value("LastFolder").toString(), Path("ici"));
  // The first filter (PNG) gave its extension to a name without one.
  EXPECT_EQ(QImage(Path("ici/image.png"), "PNG").convertToFormat(QImage::Format_RGB32), ChartOnScreen());
  EXPECT_TRUE(Read(Path("ici/valeurs.csv")).startsWith("\xEF\xBB\xBFPosition (%);"));
  // The dial's first filter is PDF.
  EXPECT_TRUE(Read(Path("ici/cadran.pdf")).startsWith("%PDF-"));
}

TEST_F(SaveFiles, TheDialogAsksBeforeReplacingAndWritesTheNameTypedOrSaysWhyNot) {
  for (const char* name : {"graphique.png", "valeurs.csv"}) {
    QFile old(Path(name));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("ancien");
  }
  QAction* chart = ui().Enregistrerlegraphiquesous1;
#ifdef Q_OS_WIN
  const QString quoted = QStringLiteral("Courbe 'R2'.svg");  // Windows forbids '"' in names
#else
  const QString quoted = QStringLiteral("Courbe \"R2\".svg");
#endif
  const struct {
    QAction* item;
    QString typed, answer, file;
    QByteArray starts;
    QString says;
  } cases[] = {
      // The extension added after the name was typed still asks first.
      {chart, "graphique", "&Non", "graphique.png", "ancien", "« graphique.png » existe déjà"},
      {ui().Exporterlesvaleurs1, "valeurs", "&Non", "valeurs.csv", "ancien", "« valeurs.csv » existe déjà"},
      {chart, "graphique", "&Oui", "graphique.png", "\x89PNG", "remplacer"},
      {chart, quoted, "", quoted, "<?xml", ""},
      {chart, "courbe.jpg", "", "", "", "pas en « .jpg »"},
      {chart, QString(253, u'a'), "", "", "", "trop long"},
      {chart, QString(300, u'b'), "", "", "", "trop long"},
      // Known before writing: said in the dialog, with the folder's reason.
      {chart, "absent/courbe.png", "", "", "",
       QStringLiteral("le dossier %1 n'existe pas").arg(QuotedFile(Path("absent")))},
#ifndef Q_OS_WIN  // a folder that is there but makes no files
      {ui().Exporterlesvaleurs1, "/proc/valeurs.csv", "", "", "",
       "le dossier « /proc » n'accepte pas de nouveau fichier"},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.left(40).toStdString());
    const Dialogue d = Drive(c.item, Path(c.typed), c.answer);
    EXPECT_TRUE(d.saveEnabled);
    EXPECT_EQ(d.stayedOpen, c.file.isEmpty() || c.answer == "&Non");
    if (!c.file.isEmpty()) {
      EXPECT_TRUE(Read(Path(c.file)).startsWith(c.starts));
    }
    EXPECT_EQ(d.messages.size(), c.says.isEmpty() ? 0 : 1);
    for (const QString& m : d.messages) {
      EXPECT_TRUE(m.contains(c.says)) << m.toStdString();
      EXPECT_TRUE(m.contains(QDir::toNativeSeparators(c.file.isEmpty() ? c.typed : c.file)))
          << m.toStdString();
    }
    EXPECT_TRUE(d.wholeTextShown);
  }
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files, QDir::Name),
            (QStringList{quoted, "graphique.png", "valeurs.csv"}));
}

// The window's save on a real full disk (a 20 KiB tmpfs), a file replaced
// with no room at all or a new one with room for a part of it: said over the
// window, the old file kept byte for byte, nothing left beside it.
TEST_F(SaveFiles, AFullDiskIsSaidAndLeavesTheDiskAsItWas) {
  testsupport::SmallDisk disk(20);
  if (!disk.Problem().isEmpty()) GTEST_SKIP() << disk.Problem().toStdString();
  for (const char* ext : {"png", "svg", "pdf", "csv"})
    for (const QByteArray old : {"ancien", ""}) {
      const QString file = disk.Path(QStringLiteral("courbe.") + ext);
      SCOPED_TRACE(file.toStdString() + (old.isEmpty() ? " (nouveau)" : " (remplacé)"));
      ASSERT_TRUE(disk.Prepare(file, old, old.isEmpty() ? 4096 : 0));
      const QStringList before = disk.Entries();
      const Dialogue d =
          Drive(QLatin1String(ext) == "csv" ? ui().Exporterlesvaleurs1 : ui().Enregistrerlegraphiquesous1,
                file, "&Oui");
      ASSERT_EQ(d.messages.size(), old.isEmpty() ? 1 : 2);
      EXPECT_EQ(d.messages.last(), SaveFailureMessage(file, "le disque est plein"));
      EXPECT_FALSE(d.stayedOpen);
      EXPECT_EQ(disk.Entries(), before);
      EXPECT_EQ(Read(file), old);
    }
}

TEST(ChartFileFor, TheNamesExtensionWinsOverTheFilter) {
  const char* values = "Valeurs CSV (*.csv)";
  const struct {
    const char *chosen, *filter, *path;
    OutputType type;
    bool refused = false;
    bool dial = false;  // the dial's dialog, whose types include the marks' CSV
  } cases[] = {
      {"/t/a.svg", "Image PNG (*.png)", "/t/a.svg", OutputType::Svg},
      {"/t/a.PDF", "Image PNG (*.png)", "/t/a.PDF", OutputType::Pdf},
      {"/t/a", "Document PDF (*.pdf)", "/t/a.pdf", OutputType::Pdf},
      {"/t/a.v2", "Image SVG (*.svg)", "/t/a.v2.svg", OutputType::Svg},
      {"/t/Courbe \"R2\".svg", "Image PNG (*.png)", "/t/Courbe \"R2\".svg", OutputType::Svg},
      // Another kind of file: said, not extended into "a.csv.svg".
      {"/t/a.csv", "Image SVG (*.svg)", "/t/a.csv", OutputType::Png, true},
      {"/t/courbe.jpg", "Image PNG (*.png)", "/t/courbe.jpg", OutputType::Png, true},
      {"/t/v", values, "/t/v.csv", OutputType::Csv},
      {"/t/v.CSV", values, "/t/v.CSV", OutputType::Csv},
      {"/t/v.png", values, "/t/v.png", OutputType::Csv, true},
      // A trailing dot or blank is not part of the extension; a wildcard is no name.
      {"/t/graphique.", "Image PNG (*.png)", "/t/graphique.png", OutputType::Png},
      {"/t/graphique.png ", "Image SVG (*.svg)", "/t/graphique.png", OutputType::Png},
      {"/t/v. . ", values, "/t/v.csv", OutputType::Csv},
      {"/t/*.svg", "Image PNG (*.png)", "/t/*.svg", OutputType::Png, true},
      {"/t/v?.csv", values, "/t/v?.csv", OutputType::Csv, true},
      {"/t/d", "Document PDF (*.pdf)", "/t/d.pdf", OutputType::Pdf, false, true},
      {"/t/d", "Repères CSV (*.csv)", "/t/d.csv", OutputType::Csv, false, true},
      {"/t/d.csv", "Image SVG (*.svg)", "/t/d.csv", OutputType::Csv, false, true},
      {"/t/d.jpg", "Image PNG (*.png)", "/t/d.jpg", OutputType::Pdf, true, true},
      {"/t/d*.pdf", "Document PDF (*.pdf)", "/t/d*.pdf", OutputType::Pdf, true, true},
  };
  for (const auto& c : cases) {
    const ChosenFile f = c.dial               ? DialFileFor(c.chosen, QString::fromUtf8(c.filter))
                         : c.filter == values ? ValuesFileFor(c.chosen)
                                              : ChartFileFor(c.chosen, c.filter);
    EXPECT_EQ(f.path, c.path);
    EXPECT_EQ(f.type, c.type) << c.chosen;
    EXPECT_EQ(f.problem.isEmpty(), !c.refused) << c.chosen << f.problem.toStdString();
  }
}

TEST_F(SaveFiles, AChartWithoutAreaOrAPageBoxNotFixedIsAnError) {
  chart().resize(0, 321);
  for (const OutputType type : {OutputType::Png, OutputType::Svg, OutputType::Pdf}) {
    const QString path = Path("vide." + ExtensionOf(type));
    EXPECT_TRUE(SaveWindowFile(*window_, path, type).contains("pas de surface")) << path.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
  }
  QByteArray pdf = "<</MediaBox [0 0 259.000000 241.000000]>>";
  EXPECT_TRUE(SetPdfPageBox(pdf, {258.75, 240.75}));
  EXPECT_EQ(pdf, "<</MediaBox [0 0.25 258.75 241]        >>");
  for (QByteArray unfit : {"<</MediaBox [0 0 259 241]>>", "<</MediaBox[0 0 259 241]>>"}) {
    EXPECT_FALSE(SetPdfPageBox(unfit, {258.75, 240.75})) << unfit.constData();  // no room, or no box
  }
}

// The pixel of a position on the bottom axis, found from the axis ends.
int PixelOf(const chart::TChart& chart, double position) {
  const chart::TChartAxis& a = *chart.BottomAxis();
  return a.StartPixel() + int(std::lround((position - a.ShownMin()) * (a.EndPixel() - a.StartPixel()) /
                                          (a.ShownMax() - a.ShownMin())));
}

TEST_F(SaveFiles, ToolTipGivesTheShownCurvesAtThePointer) {
  // P1 100K with R2 10K, as the window starts; the log curve shown too.
  QTest::mouseClick(ui().cbShowCurveLogIdeal, Qt::LeftButton, {}, {5, 10});
  Settle();
  const MainWindowInputs in = window_->Inputs();
  const int y = (chart().LeftAxis()->StartPixel() + chart().LeftAxis()->EndPixel()) / 2;
  EXPECT_EQ(ChartValueTipText(chart(), {PixelOf(chart(), 0), y}, in),
            "Position 0,0 % : originale 0,0 %, modifiée 0,0 %, log théorique 1,0 %");
  EXPECT_EQ(ChartValueTipText(chart(), {PixelOf(chart(), 100), y}, in),
            "Position 100,0 % : originale 100,0 %, modifiée 100,0 %, log théorique 100,0 %");
  EXPECT_EQ(ChartValueTipText(chart(), {PixelOf(chart(), 0) - 1, y}, in), "");
  EXPECT_EQ(ChartValueTipText(chart(), {PixelOf(chart(), 50), chart().LeftAxis()->EndPixel() + 1}, in), "");

  // Zoomed on 40..60 %: the left end reads 40 %; R2 = 10K across 40K gives
  // 8K against 60K, 11,76 %; 10^(40/50) = 6,31.
  chart().BottomAxis()->SetMinMax(40, 60);
  chart().repaint();
  EXPECT_EQ(ChartValueTipText(chart(), {PixelOf(chart(), 40), y}, in),
            "Position 40,0 % : originale 40,0 %, modifiée 11,8 %, log théorique 6,3 %");
  // Scrolled beyond the travel: no values there.
  chart().BottomAxis()->SetMinMax(90, 110);
  chart().repaint();
  EXPECT_EQ(ChartValueTipText(chart(), {PixelOf(chart(), 105), y}, in), "");
  EXPECT_FALSE(ChartValueTipText(chart(), {PixelOf(chart(), 95), y}, in).isEmpty());

  // Only the curves shown: the linear one hidden, the point separator.
  chart().BottomAxis()->SetMinMax(0, 100);
  QTest::mouseClick(ui().cbShowCurveOriginal, Qt::LeftButton, {}, {5, 10});
  window_->setDecimalSeparator('.');
  chart().repaint();
  EXPECT_EQ(ChartValueTipText(chart(), {PixelOf(chart(), 0), y}, window_->Inputs()),
            "Position 0.0 % : modifiée 0.0 %, log théorique 1.0 %");
  // On the dB scale, dB beside percent: 1 % is -40 dB, 0 % minus infinity.
  window_->setDecibels(true);
  chart().repaint();
  EXPECT_EQ(ChartValueTipText(chart(), {PixelOf(chart(), 0), y}, window_->Inputs(), window_->Decibels()),
            QString::fromUtf8("Position 0.0 % : modifiée 0.0 % (-∞ dB), log théorique 1.0 % (-40.0 dB)"));
}

TEST_F(SaveFiles, ToolTipShowsOverThePlotAndLeavesTheChartsImageAlone) {
  chart().repaint();
  const QImage before = chart().OffscreenImage().copy();
  const QPoint at(PixelOf(chart(), 100),
                  (chart().LeftAxis()->StartPixel() + chart().LeftAxis()->EndPixel()) / 2);
  QHelpEvent help(QEvent::ToolTip, at, chart().mapToGlobal(at));
  QApplication::sendEvent(&chart(), &help);
  Settle();
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), "Position 100,0 % : originale 100,0 %, modifiée 100,0 %");
  chart().repaint();
  EXPECT_EQ(chart().OffscreenImage(), before);
  QToolTip::hideText();
}

}  // namespace
}  // namespace dorvane::forms
