// The about box's light labels: raised title labels, the resting scrolling
// text and the version information label.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>

#include "controls/information_label.h"
#include "controls/scroll_text.h"
#include "controls/three_d_caption.h"
#include "gfx/fonts.h"
#include "support/elf_file.h"
#include "support/layout_metrics.h"
#include "version/version_record.h"

namespace dorvane::controls {
namespace {

using version::BuildVersionRecord;
using version::kVersionSectionName;
using version::VersionRecordContents;
using version::VersionString;

QFont CrispFont(int pixels, bool bold = false) {
  QFont f = gfx::PixelFont(QStringLiteral("Arial"), pixels, bold);
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

// The widget alone, drawn over white.
QImage Render(QWidget& w) {
  QImage img(w.size(), QImage::Format_RGB32);
  img.fill(Qt::white);
  w.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
  return img;
}

// Qt's own drawing of a text, as reference.
QImage Reference(QSize size, const QFont& font, const QString& text, QColor colour, int flags) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setFont(font);
  p.setPen(colour);
  p.drawText(QRect(QPoint(0, 0), size), flags, text);
  return img;
}

constexpr int kLabelFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs;

// --- title labels ---------------------------------------------------------

TEST(SimpleLabel, SizesItselfToTextPlusDepthPlusTwo) {
  struct Case {
    QString caption, measured;
    T3DCaption::TThreeDStyle style;
    int light, shadow;
  };
  const Case cases[] = {
      {"Dor", "Dor", T3DCaption::tdRaisedShadow, 1, 1}, {"vane", "vane", T3DCaption::tdRaisedShadow, 1, 1},
      {"W&x", "Wx", T3DCaption::tdRaisedShadow, 1, 1},  {"Dor&", "Dor", T3DCaption::tdRaisedShadow, 1, 1},
      {"", " ", T3DCaption::tdRaisedShadow, 1, 1},      {"&", " ", T3DCaption::tdRaisedShadow, 1, 1},
      {"Dor", "Dor", T3DCaption::tdNone, 1, 1},         {"Dor", "Dor", T3DCaption::tdRaisedShadow, 3, 2},
  };
  const QFont font = gfx::PixelFont(QStringLiteral("Arial"), 24, true);
  const testsupport::LayoutMetrics fm(font);
  for (const Case& c : cases) {
    QWidget parent;
    TSimpleLabel label(&parent);
    label.setGeometry(128, 8, 41, 33);  // as stored with a layout
    label.setFont(font);
    label.Font3D()->setLightDepth(c.light);
    label.Font3D()->setShadowDepth(c.shadow);
    label.setFont3DStyle(c.style);
    label.setCaption(c.caption);
    label.Loaded();
    const int depth = c.style == T3DCaption::tdRaisedShadow ? c.light + c.shadow : 0;
    EXPECT_EQ(label.geometry(),
              QRect(128, 8, fm.horizontalAdvance(c.measured) + depth + 2, fm.height() + depth + 2))
        << c.caption.toStdString() << " style " << c.style;
  }
}

TEST(SimpleLabel, RaisedShadowDrawsShadowThenLightThenText) {
  QWidget parent;
  TSimpleLabel label(&parent);
  const QFont font = CrispFont(24, true);
  label.setFont(font);
  label.setFont3DStyle(T3DCaption::tdRaisedShadow);
  label.Font3D()->setLightColor(gfx::clLime);
  label.Font3D()->setShadowColor(gfx::clBlue);
  label.setFontColor(gfx::clRed);
  label.setCaption(QStringLiteral("Dk"));
  const QImage img = Render(label);

  // The glyphs' pixels when drawn flat at the label's corner.
  const QImage glyphs = Reference(label.size(), font, QStringLiteral("Dk"), Qt::black, kLabelFlags);
  const auto inGlyph = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < glyphs.width() && y < glyphs.height() &&
           glyphs.pixel(x, y) == qRgb(0, 0, 0);
  };
  int counts[4] = {};
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      // The text 1 right and down, over the light copy at the corner, over
      // the shadow 2 right and down.
      QRgb expected = qRgb(255, 255, 255);
      int kind = 0;
      if (inGlyph(x - 1, y - 1))
        expected = qRgb(255, 0, 0), kind = 1;
      else if (inGlyph(x, y))
        expected = qRgb(0, 255, 0), kind = 2;
      else if (inGlyph(x - 2, y - 2))
        expected = qRgb(0, 0, 255), kind = 3;
      ++counts[kind];
      ASSERT_EQ(img.pixel(x, y), expected) << x << "," << y;
    }
  EXPECT_GT(counts[1], 50);
  EXPECT_GT(counts[2], 5);
  EXPECT_GT(counts[3], 5);
}

TEST(SimpleLabel, EmptyTransparentCaptionDrawsNothing) {
  QWidget parent;
  TSimpleLabel label(&parent);
  label.setFont3DStyle(T3DCaption::tdRaisedShadow);
  label.Font3D()->setLightColor(gfx::clLime);
  const QImage img = Render(label);
  EXPECT_EQ(img, Reference(label.size(), label.font(), QString(), Qt::black, 0));
}

TEST(SimpleLabel, Font3DChangesResize) {
  QWidget parent;
  TSimpleLabel label(&parent);
  label.setCaption(QStringLiteral("Dor"));
  const QSize flat = label.size();
  label.setFont3DStyle(T3DCaption::tdRaisedShadow);
  EXPECT_EQ(label.size(), flat + QSize(2, 2));
  label.Font3D()->setShadowDepth(4);
  EXPECT_EQ(label.size(), flat + QSize(5, 5));
  label.setAutoSize(false);
  label.resize(10, 10);
  label.setCaption(QStringLiteral("longer"));
  EXPECT_EQ(label.size(), QSize(10, 10));
}

// --- scrolling text ---------------------------------------------------------

TEST(ScrollText, AtRestTheTextLiesBelowAndNothingIsDrawn) {
  const QStringList lineSets[] = {{"-"}, {"Merci", "à", "tous"}, {QString(200, 'W')}, {}};
  for (const QStringList& lines : lineSets) {
    QWidget parent;
    TScrollText text(&parent);
    text.setGeometry(8, 160, 200, 25);
    text.setFont(CrispFont(11));
    text.setFontColor(gfx::clBlue);
    text.setTransparent(true);
    text.setAlignment(TScrollText::taLeftJustify);
    text.setLines(lines);
    text.setScroll(false);
    const int h = testsupport::LayoutMetrics(text.font()).height();
    EXPECT_EQ(text.LineRect(0, {0, 0, 200, 25}), (gfx::Rect{0, 25, 200, 25 + h}));
    const QImage img = Render(text);
    EXPECT_EQ(img, Reference(text.size(), text.font(), QString(), Qt::black, 0))
        << lines.join('|').toStdString();
  }
}

TEST(ScrollText, OpaqueAtRestShowsOnlyItsColour) {
  for (auto direction : {TScrollText::sdBottomToTop, TScrollText::sdTopToBottom, TScrollText::sdLeftToRight,
                         TScrollText::sdRightToLeft}) {
    QWidget parent;
    TScrollText text(&parent);
    text.setDirection(direction);
    text.setColor(gfx::clYellow);
    const QImage img = Render(text);
    ASSERT_EQ(img.size(), QSize(200, 20));  // a new control's size
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) ASSERT_EQ(img.pixel(x, y), qRgb(255, 255, 0)) << direction;
  }
}

TEST(ScrollText, SwitchingScrollOffTwiceChangesNothing) {
  QWidget parent;
  TScrollText text(&parent);
  text.setLines({"-"});
  const gfx::Rect before = text.LineRect(0, {0, 0, 200, 20});
  text.setScroll(false);
  text.setScroll(false);
  EXPECT_FALSE(text.Scroll());
  EXPECT_EQ(text.LineRect(0, {0, 0, 200, 20}), before);
  EXPECT_EQ(text.Lines(), QStringList{"-"});
}

// --- information label -----------------------------------------------------

TEST(InformationText, Composition) {
  struct Case {
    QString caption;
    int colon, tabs;
    QString expected;
  };
  const Case cases[] = {
      {"", -1, 0, "v"},
      {"Version", -1, 0, "Version v"},
      {"Version", -1, 1, "Version\tv"},
      {"", -1, 1, "\tv"},
      {"Version", 0, 1, "Version:\tv"},
      {"Version", 0, 0, "Version: v"},
      {"Version", 1, 2, "Version\t:\tv"},
      {"Version", 2, 2, "Version\t\t:v"},
      {"Version", 3, 2, "Version\t\tv"},
      {"Version", -1, -1, "Versionv"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ComposeInformationText(c.caption, c.colon, c.tabs, "v"), c.expected)
        << c.caption.toStdString() << " " << c.colon << " " << c.tabs;
}

class InformationLabelTest : public ::testing::Test {
 protected:
  // A program file whose version record holds these strings.
  std::string ProgramWith(std::span<const VersionString> strings, bool translation = true,
                          std::u16string_view table = {}) {
    VersionRecordContents spec;
    spec.strings = strings;
    spec.withTranslation = translation;
    spec.tableName = table;
    const std::string path = dir_.filePath(QStringLiteral("prog%1").arg(++files_)).toStdString();
    testsupport::WriteFile(path,
                           testsupport::MakeElf(std::string(kVersionSectionName), BuildVersionRecord(spec)));
    return path;
  }

  // A label as the about box sets it up.
  void AboutBoxSettings(TInformationLabel& label, TInformationLabel::TInfoType info) {
    label.setAutoSize(false);
    label.setGeometry(112, 72, 177, 16);
    label.setFont(CrispFont(11));
    label.setFontColor(gfx::clGreen);
    label.setAutoSize(false);
    label.setInsertTabs(0);
    label.setUseStandardCaption(false);
    label.setInfo(info);
  }

  QTemporaryDir dir_;
  int files_ = 0;
  QWidget parent_;
};

TEST_F(InformationLabelTest, ShowsTheRunningProgramsRecord) {
  struct Case {
    TInformationLabel::TInfoType info;
    QString expected;
  };
  const Case cases[] = {
      {TInformationLabel::itProgVersion, "1.0.0.0"},
      {TInformationLabel::itProgCopyright, "Copyright \u00A9 2026 Dorvane"},
      {TInformationLabel::itProgComments, "Freeware"},
      {TInformationLabel::itUser, ""},
  };
  for (const Case& c : cases) {
    TInformationLabel label(&parent_);
    AboutBoxSettings(label, c.info);
    EXPECT_EQ(label.Text(), c.expected);
    EXPECT_EQ(label.geometry(), QRect(112, 72, 177, 16));
  }
}

TEST_F(InformationLabelTest, CaptionsTabsAndStandardNames) {
  TInformationLabel label(&parent_);
  label.setInfo(TInformationLabel::itProgComments);
  EXPECT_EQ(label.Text(), "Commentaires\tFreeware");  // a new control's settings
  label.setUseStandardCaption(false);
  label.setCaption("Note");
  EXPECT_EQ(label.Text(), "Note\tFreeware");
  label.setInsertTabs(0);
  EXPECT_EQ(label.Text(), "Note Freeware");
  label.setInsertColon(0);
  EXPECT_EQ(label.Text(), "Note: Freeware");
}

TEST_F(InformationLabelTest, WithoutTranslationOnlyTheEnglishTableIsFound) {
  const VersionString strings[] = {{u"ProductVersion", u"2.5"}};
  TInformationLabel label(&parent_);
  AboutBoxSettings(label, TInformationLabel::itProgVersion);
  label.setVersionFile(ProgramWith(strings, false, u"040904E4"));
  EXPECT_EQ(label.Text(), "2.5");
  label.setVersionFile(ProgramWith(strings, false, u"040C04E4"));
  EXPECT_EQ(label.Text(), "");
  label.setVersionFile(dir_.filePath("missing").toStdString());
  EXPECT_EQ(label.Text(), "");
}

TEST_F(InformationLabelTest, LooksTheValueUpAtEveryPaint) {
  TInformationLabel label(&parent_);
  AboutBoxSettings(label, TInformationLabel::itProgComments);
  const std::string path = dir_.filePath("prog").toStdString();
  label.setVersionFile(path);
  const VersionString first[] = {{u"Comments", u"one"}};
  const VersionString second[] = {{u"Comments", u"two"}};
  VersionRecordContents spec;
  spec.strings = first;
  testsupport::WriteFile(path,
                         testsupport::MakeElf(std::string(kVersionSectionName), BuildVersionRecord(spec)));
  const QImage a = Render(label);
  spec.strings = second;
  testsupport::WriteFile(path,
                         testsupport::MakeElf(std::string(kVersionSectionName), BuildVersionRecord(spec)));
  const QImage b = Render(label);
  const QColor green(0, 128, 0);
  EXPECT_EQ(a, Reference(label.size(), label.font(), "one", green, kLabelFlags));
  EXPECT_EQ(b, Reference(label.size(), label.font(), "two", green, kLabelFlags));
}

TEST_F(InformationLabelTest, AmpersandUnderlinesTheNextCharacter) {
  const VersionString strings[] = {{u"Comments", u"A&B && C"}};
  TInformationLabel label(&parent_);
  AboutBoxSettings(label, TInformationLabel::itProgComments);
  label.setVersionFile(ProgramWith(strings));
  const QImage img = Render(label);
  // "AB & C" drawn plainly: every one of its pixels is in the label's, and
  // the only extra pixels are an underline below the baseline under "B".
  const QImage plain = Reference(label.size(), label.font(), "AB & C", QColor(0, 128, 0), kLabelFlags);
  const QFontMetrics fm(label.font());
  int extra = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const bool inPlain = plain.pixel(x, y) != qRgb(255, 255, 255);
      const bool inLabel = img.pixel(x, y) != qRgb(255, 255, 255);
      if (inPlain) {
        ASSERT_TRUE(inLabel) << x << "," << y;
      }
      if (inLabel && !inPlain) {
        ++extra;
        EXPECT_GE(y, fm.ascent()) << x;
        EXPECT_GE(x, fm.horizontalAdvance("A") - 1);
        EXPECT_LE(x, fm.horizontalAdvance("AB") + 1);
      }
    }
  EXPECT_GT(extra, 3);
}

TEST_F(InformationLabelTest, TooWideValueIsCutAtTheEdgeWithoutEllipsis) {
  const std::u16string wide(40, u'W');
  const VersionString strings[] = {{u"Comments", wide}};
  TInformationLabel label(&parent_);
  AboutBoxSettings(label, TInformationLabel::itProgComments);
  label.setVersionFile(ProgramWith(strings));
  const QString text = QString::fromStdU16String(wide);
  ASSERT_GT(QFontMetrics(label.font()).horizontalAdvance(text), 177);
  const QImage full = Reference(QSize(1000, 16), label.font(), text, QColor(0, 128, 0), kLabelFlags);
  EXPECT_EQ(Render(label), full.copy(0, 0, 177, 16));
}

}  // namespace
}  // namespace dorvane::controls
