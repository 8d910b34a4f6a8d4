#pragma once
// An etched separator: two one-pixel rows along the control's top edge, the
// upper in the button shadow colour, the lower in the button highlight (the
// style's own, whatever the desktop's palette).
#include <QWidget>

namespace dorvane::controls {

class TEtchedLine : public QWidget {
  Q_OBJECT

 public:
  explicit TEtchedLine(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace dorvane::controls
