#pragma once
// The about box: program icon, two-colour raised title, the version,
// copyright and comment lines of the program's version record, on a tiled
// marble background. Modal; created for each showing.
#include <QDialog>
#include <memory>

namespace Ui {
class TfmAbout;
}

namespace dorvane::controls {
class TFormFill;
}

namespace dorvane::forms {

class TfmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TfmAbout(QWidget* parent = nullptr);
  ~TfmAbout() override;

  // Client area, fixed.
  static constexpr int kClientWidth = 305;
  static constexpr int kClientHeight = 193;

 public slots:
  void FormCreate();
  void FormClose();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 public:
  // Every way of closing ends here (OK, Enter, the close box).
  void done(int result) override;

 private:
  void ApplyFonts();
  void CentreOnScreen();

  std::unique_ptr<Ui::TfmAbout> ui_;
  controls::TFormFill* FormFill1;
};

// "A propos...": creates the about box owned by `parent`, shows it modally
// and destroys it when it closes, whatever happens while it is shown.
void ShowAboutBox(QWidget* parent);

}  // namespace dorvane::forms
