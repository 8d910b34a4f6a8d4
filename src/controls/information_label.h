#pragma once
// A light label that shows one piece of information about the program,
// looked up afresh every time it paints, optionally after a caption.
#include <QString>
#include <string>

#include "controls/three_d_caption.h"

namespace dorvane::controls {

// Caption, then the colon and tabs as asked, then the value.
QString ComposeInformationText(const QString& caption, int insertColon, int insertTabs, const QString& value);

class TInformationLabel : public TCustom3DLabel {
  Q_OBJECT
  Q_PROPERTY(TInfoType Info READ Info WRITE setInfo)
  Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
  Q_PROPERTY(bool UseStandardCaption READ UseStandardCaption WRITE setUseStandardCaption)
  Q_PROPERTY(int InsertTabs READ InsertTabs WRITE setInsertTabs)
  Q_PROPERTY(int InsertColon READ InsertColon WRITE setInsertColon)
  Q_PROPERTY(QString DateTimeFormat READ DateTimeFormat WRITE setDateTimeFormat)

 public:
  // Only the entries of the version record are looked up; the other kinds of
  // information show an empty value.
  enum TInfoType {
    itUser = 0,
    itProgVersion = 36,
    itProgCopyright = 37,
    itProgComments = 40,
  };
  Q_ENUM(TInfoType)

  explicit TInformationLabel(QWidget* parent = nullptr);

  TInfoType Info() const { return info_; }
  void setInfo(TInfoType info);
  QString Caption() const { return caption_; }
  void setCaption(const QString& caption);
  bool UseStandardCaption() const { return useStandardCaption_; }
  void setUseStandardCaption(bool on);
  // -128 .. 127, like the 8-bit fields they were.
  int InsertTabs() const { return insertTabs_; }
  void setInsertTabs(int n);
  int InsertColon() const { return insertColon_; }
  void setInsertColon(int n);
  // Kept for the date-and-time kind, which is not built.
  QString DateTimeFormat() const { return dateTimeFormat_; }
  void setDateTimeFormat(const QString& format);

  // The program file whose version record is read: the running program's own
  // file unless told otherwise.
  std::string VersionFile() const { return versionFile_; }
  void setVersionFile(const std::string& path);

  // The fixed name of an information kind, used instead of Caption when
  // UseStandardCaption is on.
  static QString StandardCaption(TInfoType info);
  // The value shown for the current Info, looked up now.
  QString Value() const;
  QString Text() const override;

 protected:
  void Paint(gfx::Canvas& canvas, const gfx::Rect& client) override;

 private:
  TInfoType info_ = itUser;
  QString caption_;
  bool useStandardCaption_ = true;
  int insertTabs_ = 1;
  int insertColon_ = -1;
  QString dateTimeFormat_;
  std::string versionFile_;
};

}  // namespace dorvane::controls
