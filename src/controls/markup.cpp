#include "controls/markup.h"
#include "gfx/fonts.h"

#include <algorithm>
#include <array>
#include <vector>

#include <QFontMetrics>
#include <QPainter>

namespace dorvane::controls {

namespace {

using gfx::Colour;

// Runs are single lines sitting on the bottom of their box, tabs expanded,
// "&" as mnemonic prefix.
constexpr unsigned kRunFlags = gfx::kSingleLine | gfx::kAlignBottom | gfx::kExpandTabs | gfx::kMnemonics;

struct Entity {
  const char16_t* name;
  const char16_t* replacement;
};

// "&amp;" keeps an ampersand that the mnemonic rule shows as one "&".
constexpr std::array<Entity, 9> kEntities{{
    {u"&amp;", u"&&"},
    {u"&quot;", u"\""},
    {u"&sect;", u"\u00A7"},
    {u"&permil;", u"\u2030"},
    {u"&reg;", u"\u00AE"},
    {u"&copy;", u"\u00A9"},
    {u"&para;", u"\u00B6"},
    {u"&trade;", u"\u2122"},
    {u"&euro;", u"\u20AC"},
}};

struct Style {
  QFont font;
  Colour colour;
};

struct Piece {
  QString text;
  int width;
  Style style;
};

struct Extent {
  int width, height;
};

QFontMetrics Metrics(const gfx::Canvas& canvas, const QFont& font) {
  return QFontMetrics(font, canvas.device());
}

int LineHeightOf(const gfx::Canvas& canvas, const QFont& font) {
  return gfx::LineHeight(font, canvas.device());
}

// Width and height of a run as DrawText shows it: mnemonics resolved, tabs
// expanded, trailing spaces counted (the next run starts after them).
Extent MeasureRun(const gfx::Canvas& canvas, const QFont& font, const QString& run) {
  const QFontMetrics fm = Metrics(canvas, font);
  const QString shown = gfx::WithoutMnemonics(run);
  if (shown.contains(u'\t')) {
    const int flags = Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextIncludeTrailingSpaces;
    return {fm.boundingRect(QRect(0, 0, 0, 0), flags, shown).width(), LineHeightOf(canvas, font)};
  }
  return {fm.horizontalAdvance(shown), LineHeightOf(canvas, font)};
}

// The least height of a line: "gh" in the font of the line's start.
int GhHeight(const gfx::Canvas& canvas, const QFont& font) {
  return LineHeightOf(canvas, font);
}

QString DecodeRun(QString run) {
  if (!run.contains(u'&')) return run;
  run.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
  run.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  run.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  return run;
}

// The value of an attribute: the text between the first pair of double quotes
// after its name. Empty when the name or the quotes are missing.
bool AttributeValue(const QString& tag, QStringView name, QString* value) {
  const qsizetype at = tag.indexOf(name, 0, Qt::CaseInsensitive);
  if (at < 0) return false;
  const qsizetype open = tag.indexOf(u'"', at + name.size());
  if (open < 0) return false;
  const qsizetype close = tag.indexOf(u'"', open + 1);
  if (close < 0) return false;
  *value = tag.mid(open + 1, close - open - 1);
  return true;
}

int HexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

QChar UpperAt(const QString& s, qsizetype i) {
  return i < s.size() ? s[i].toUpper() : QChar();
}

// Applies one tag (the text between "<" and ">") to the style. Returns true
// for a line break. Tags that are not built are removed without effect.
bool ApplyTag(const QString& tag, const Style& start, Style& style) {
  const bool end = tag.startsWith(u'/');
  const qsizetype first = end ? 1 : 0;
  const QChar c = UpperAt(tag, first);
  if (c == u'F') {
    if (end) {
      // Back to the starting font's face, size and colour.
      QFont f = style.font;
      f.setFamilies(start.font.families());
      f.setFamily(start.font.family());
      if (start.font.pixelSize() > 0)
        f.setPixelSize(start.font.pixelSize());
      else
        f.setPointSizeF(start.font.pointSizeF());
      style.font = f;
      style.colour = start.colour;
      return false;
    }
    QString value;
    if (AttributeValue(tag, u" COLOR", &value)) style.colour = MarkupColour(value);
    return false;
  }
  if (c == u'B' && !end && UpperAt(tag, first + 1) == u'R') return true;
  return false;
}

}  // namespace

QString PrepareMarkup(const QString& input) {
  QString text = input;
  if (text.contains(u'&')) {
    // Every replacement shortens the text, so this ends.
    for (bool changed = true; changed;) {
      changed = false;
      for (const Entity& e : kEntities) {
        const QString name = QString::fromUtf16(e.name);
        if (text.contains(name, Qt::CaseInsensitive)) {
          text.replace(name, QString::fromUtf16(e.replacement), Qt::CaseInsensitive);
          changed = true;
        }
      }
    }
  }
  text.replace(u'\r', QStringLiteral("<BR>"));
  text.remove(u'\n');
  return text;
}

QString MarkupPlainText(const QString& input) {
  // The same cutting as the drawing: text between tags, decoded and with
  // mnemonics resolved; a tag that never closes drops the rest.
  const QString text = PrepareMarkup(input);
  QString plain;
  qsizetype pos = 0;
  while (pos < text.size()) {
    qsizetype lt = text.indexOf(u'<', pos);
    if (lt < 0) lt = text.size();
    plain += gfx::WithoutMnemonics(DecodeRun(text.mid(pos, lt - pos)));
    if (lt >= text.size()) break;
    const qsizetype close = text.indexOf(u'>', lt);
    if (close < 0) break;
    Style style{};
    if (ApplyTag(text.mid(lt + 1, close - lt - 1), style, style)) plain += u'\n';
    pos = close + 1;
  }
  return plain;
}

Colour MarkupColour(const QString& value) {
  if (value.startsWith(u'#')) {
    if (value.size() < 7) return gfx::clBlack;
    int bytes[3];
    for (int i = 0; i < 3; ++i) {
      const int hi = HexDigit(value[1 + 2 * i]), lo = HexDigit(value[2 + 2 * i]);
      if (hi < 0 || lo < 0) return gfx::clBlack;
      bytes[i] = hi * 16 + lo;
    }
    return gfx::Rgb(bytes[0], bytes[1], bytes[2]);
  }
  const QByteArray name = value.toLatin1();
  const auto named = gfx::ColourFromName(std::string_view(name.constData(), size_t(name.size())));
  // Only the basic and the system colours have names here.
  if (!named || *named == gfx::clNone) return gfx::clBlack;
  return *named;
}

MarkupExtent DrawMarkup(gfx::Canvas& canvas, const QString& input, const gfx::Rect& r,
                        const MarkupOptions& options) {
  canvas.save();  // font, font colour, brush and background mode come back
  const Style start{canvas.font(), canvas.fontColour()};
  canvas.setBrush({gfx::clNone, gfx::BrushStyle::Clear});
  canvas.setBackgroundMode(gfx::BackgroundMode::Transparent);

  const QString text = PrepareMarkup(input);
  const gfx::Rect work{r.left + 1, r.top, r.right, r.bottom};
  const int workWidth = r.width() - 1;
  const unsigned flags = kRunFlags | (options.wordWrap ? 0u : unsigned(gfx::kEndEllipsis));

  Style style = start;
  MarkupExtent extent;
  bool laidOut = false;
  int top = r.top;
  qsizetype pos = 0;
  std::vector<Piece> pieces;

  while (pos < text.size()) {
    // Measuring pass: cut runs until one does not fit or the line breaks.
    laidOut = true;
    pieces.clear();
    int lineHeight = GhHeight(canvas, style.font);
    int lineWidth = 0;
    QString placed;
    bool lineBreak = false;
    while (pos < text.size() && !lineBreak) {
      qsizetype lt = text.indexOf(u'<', pos);
      if (lt < 0) lt = text.size();
      qsizetype end = lt;
      if (options.wordWrap) {
        const qsizetype space = QStringView(text).mid(pos, lt - pos).indexOf(u' ');
        if (space >= 0) end = pos + space + 1;
      }
      if (end > pos) {
        const QString run = DecodeRun(text.mid(pos, end - pos));
        const Extent e = MeasureRun(canvas, style.font, run);
        lineHeight = std::max(lineHeight, e.height);
        // A word is never split from the word it touches, and a word wider
        // than the line still goes on it.
        const bool fits = !options.wordWrap || lineWidth + e.width < workWidth || e.width >= workWidth ||
                          (!placed.isEmpty() && !placed.endsWith(u' '));
        if (!fits) break;
        lineWidth += e.width;
        placed += run;
        pieces.push_back({run, e.width, style});
        pos = end;
      }
      if (pos < text.size() && text[pos] == u'<') {
        const qsizetype close = text.indexOf(u'>', pos);
        if (close < 0) {
          pos = text.size();  // a tag that never closes drops the rest
          break;
        }
        lineBreak = ApplyTag(text.mid(pos + 1, close - pos - 1), start, style);
        pos = close + 1;
      }
    }

    int shownWidth = lineWidth;
    if (!pieces.empty() && placed.endsWith(u' '))
      shownWidth -= Metrics(canvas, pieces.back().style.font).horizontalAdvance(u' ');
    extent.width = std::max(extent.width, shownWidth);

    // Drawing pass over what the line took.
    int x = work.left;
    for (const Piece& p : pieces) {
      canvas.setFont(p.style.font);
      canvas.setFontColour(p.style.colour);
      canvas.drawText(gfx::Rect{x, top, work.right, top + lineHeight}, p.text, flags);
      x += p.width;
    }

    extent.height += lineHeight + options.lineSpacing;
    top += lineHeight + options.lineSpacing;
    if (top + GhHeight(canvas, style.font) > r.bottom) break;  // no room for another line
  }
  if (!laidOut) extent.height = GhHeight(canvas, start.font);

  canvas.restore();
  return extent;
}

}  // namespace dorvane::controls
