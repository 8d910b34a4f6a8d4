#include "controls/information_label.h"

#include <QLocale>
#include <algorithm>

#include "gfx/property.h"
#include "version/version_record.h"

namespace dorvane::controls {

QString ComposeInformationText(const QString& caption, int insertColon, int insertTabs,
                               const QString& value) {
  QString text = caption;
  if (insertColon == 0) text += QLatin1Char(':');
  for (int i = 1; i <= insertTabs; ++i) {
    text += QLatin1Char('\t');
    if (insertColon == i) text += QLatin1Char(':');
  }
  if (insertTabs == 0 && !caption.isEmpty()) text += QLatin1Char(' ');
  return text + value;
}

TInformationLabel::TInformationLabel(QWidget* parent)
    : TCustom3DLabel(parent),
      dateTimeFormat_(QLocale().dateFormat(QLocale::ShortFormat)),
      versionFile_(version::kOwnProgramFile) {}

void TInformationLabel::setInfo(TInfoType info) {
  if (gfx::SetField(info_, info)) TextChanged();
}

void TInformationLabel::setCaption(const QString& caption) {
  if (gfx::SetField(caption_, caption)) TextChanged();
}

void TInformationLabel::setUseStandardCaption(bool on) {
  if (gfx::SetField(useStandardCaption_, on)) TextChanged();
}

void TInformationLabel::setInsertTabs(int n) {
  n = std::clamp(n, -128, 127);
  if (gfx::SetField(insertTabs_, n)) TextChanged();
}

void TInformationLabel::setInsertColon(int n) {
  n = std::clamp(n, -128, 127);
  if (gfx::SetField(insertColon_, n)) TextChanged();
}

void TInformationLabel::setDateTimeFormat(const QString& format) {
  if (gfx::SetField(dateTimeFormat_, format)) TextChanged();
}

void TInformationLabel::setVersionFile(const std::string& path) {
  if (gfx::SetField(versionFile_, path)) TextChanged();
}

QString TInformationLabel::StandardCaption(TInfoType info) {
  switch (info) {
    case itUser:
      return QStringLiteral("Utilisateur");
    case itProgVersion:
      return QStringLiteral("Version");
    case itProgCopyright:
      return QStringLiteral("Copyright");
    case itProgComments:
      return QStringLiteral("Commentaires");
  }
  return {};
}

QString TInformationLabel::Value() const {
  const char16_t* key = nullptr;
  switch (info_) {
    case itProgVersion:
      key = u"ProductVersion";
      break;
    case itProgCopyright:
      key = u"LegalCopyright";
      break;
    case itProgComments:
      key = u"Comments";
      break;
    case itUser:
      break;
  }
  if (!key) return {};
  const std::u16string value = version::LookupVersionString(key, versionFile_);
  return QString::fromUtf16(value.data(), qsizetype(value.size()));
}

QString TInformationLabel::Text() const {
  const QString caption = useStandardCaption_ ? StandardCaption(info_) : caption_;
  return ComposeInformationText(caption, insertColon_, insertTabs_, Value());
}

void TInformationLabel::Paint(gfx::Canvas& canvas, const gfx::Rect& client) {
  DrawLabelText(canvas, client);
}

}  // namespace dorvane::controls
