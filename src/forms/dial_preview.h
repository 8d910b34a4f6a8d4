#pragma once
// The dial's preview: the page as it will print, scaled to the widget, on a
// grey ground; nothing but the ground while the fields give no dial.
#include <QWidget>
#include <optional>

#include "forms/dial_drawing.h"

namespace dorvane::forms {

class TDialPreview : public QWidget {
  Q_OBJECT

 public:
  explicit TDialPreview(QWidget* parent = nullptr);

  const std::optional<DialPicture>& Picture() const { return picture_; }
  void SetPicture(std::optional<DialPicture> picture);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<DialPicture> picture_;
  DialLayout layout_;
};

}  // namespace dorvane::forms
