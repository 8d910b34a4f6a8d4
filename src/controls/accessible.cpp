#include "controls/accessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>

#include "controls/etched_line.h"
#include "controls/flat_combo_box.h"
#include "controls/information_label.h"
#include "controls/label.h"
#include "controls/markup.h"
#include "controls/markup_check_box.h"
#include "controls/scroll_text.h"
#include "controls/shape.h"
#include "controls/technical_line.h"
#include "controls/three_d_caption.h"
#include "gfx/canvas.h"

namespace dorvane::controls {

QString AccessibleText(const QString& text, bool mnemonics) {
  return (mnemonics ? gfx::WithoutMnemonics(text) : text).simplified();
}

namespace {

// An accessible name set on the widget wins over the caption.
QString NameOr(const QWidget* widget, const QString& caption) {
  return widget->accessibleName().isEmpty() ? caption : widget->accessibleName();
}

class MarkupCheckBoxAccessible : public QAccessibleWidget {
 public:
  explicit MarkupCheckBoxAccessible(TCustomMarkupCheckBox* box)
      : QAccessibleWidget(box, QAccessible::CheckBox) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name)
      return NameOr(box(), AccessibleText(MarkupPlainText(box()->Caption()), false));
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = box()->State() == TCustomMarkupCheckBox::cbChecked;
    s.checkStateMixed = box()->State() == TCustomMarkupCheckBox::cbGrayed;
    s.readOnly = box()->ReadOnly();
    return s;
  }

  QStringList actionNames() const override {
    QStringList names;
    if (box()->isEnabled()) names << toggleAction();
    return names + QAccessibleWidget::actionNames();
  }

  void doAction(const QString& action) override {
    if (action != toggleAction()) return QAccessibleWidget::doAction(action);
    // A disabled box takes no click either.
    if (box()->isEnabled()) box()->Click();
  }

 private:
  TCustomMarkupCheckBox* box() const { return static_cast<TCustomMarkupCheckBox*>(widget()); }
};

// The label that leads to a widget (its buddy), as Qt finds it for edits.
const QLabel* BuddyLabel(const QWidget* widget) {
  if (!widget->parentWidget()) return nullptr;
  for (const QLabel* label : widget->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
    if (label->buddy() == widget) return label;
  return nullptr;
}

// A drop-down list, ours or the toolkit's: named by its caption label (the
// flat list's own, or the label that leads to it), its selection as value
// and as read-only text (where AT-SPI readers look for a list's value). The
// stock interface names it by the selection, which leaves the caption out.
class ComboBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ComboBoxAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QString text(int start, int end) const override { return list()->currentText().mid(start, end - start); }
  int characterCount() const override { return int(list()->currentText().size()); }
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = *end = 0;
    return {};
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return NameOr(list(), Caption());
    if (t == QAccessible::Value) return list()->currentText();
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = list()->view()->isVisible();
    s.collapsed = !s.expanded;
    return s;
  }

  // The drop-down's items, as the stock interface shows them.
  int childCount() const override { return 1; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child && child->object() == list()->view() ? 0 : -1;
  }

  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation match) const override {
    auto rels = QAccessibleWidget::relations(match);
    const auto* flat = qobject_cast<const TFlatComboBox*>(list());
    if ((match & QAccessible::Label) && flat && flat->Label())
      rels.append({QAccessible::queryAccessibleInterface(flat->Label()), QAccessible::Label});
    return rels;
  }

  QStringList actionNames() const override {
    QStringList names;
    if (list()->isEnabled()) names << showMenuAction();
    return names + QAccessibleWidget::actionNames();
  }

  void doAction(const QString& action) override {
    if (action != showMenuAction()) return QAccessibleWidget::doAction(action);
    if (list()->isEnabled()) list()->showPopup();
  }

 private:
  QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
  QString Caption() const {
    if (const auto* flat = qobject_cast<const TFlatComboBox*>(list()))
      return AccessibleText(flat->LabelCaption());
    const QLabel* label = BuddyLabel(list());
    return label ? AccessibleText(label->text()) : QString();
  }
};

// Painted text: a static text named by what it shows.
class CaptionAccessible : public QAccessibleWidget {
 public:
  explicit CaptionAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return NameOr(widget(), Caption());
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    // At rest the scrolling text lies outside its area.
    if (qobject_cast<const TScrollText*>(widget())) s.offscreen = true;
    return s;
  }

 private:
  QString Caption() const {
    if (auto* label = qobject_cast<const TLabel*>(widget())) return AccessibleText(label->Caption());
    if (auto* label = qobject_cast<const TCustom3DLabel*>(widget()))
      return AccessibleText(label->Text(), label->ShowAccelChar());
    if (auto* text = qobject_cast<const TScrollText*>(widget()))
      return AccessibleText(text->Lines().join(u' '), false);
    return {};
  }
};

}  // namespace

QAccessibleInterface* AccessibleControlFactory(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget) return nullptr;
  if (auto* box = qobject_cast<TCustomMarkupCheckBox*>(widget)) return new MarkupCheckBoxAccessible(box);
  // An editable list keeps the stock interface, which shows its edit box.
  if (auto* list = qobject_cast<QComboBox*>(widget); list && !list->isEditable())
    return new ComboBoxAccessible(list);
  if (qobject_cast<TLabel*>(widget) || qobject_cast<TCustom3DLabel*>(widget) ||
      qobject_cast<TScrollText*>(widget))
    return new CaptionAccessible(widget);
  if (qobject_cast<TEtchedLine*>(widget)) return new QAccessibleWidget(widget, QAccessible::Separator);
  // The circuit diagram's resistors and wires.
  if (qobject_cast<TShape*>(widget) || qobject_cast<TTechnicalLine*>(widget))
    return new QAccessibleWidget(widget, QAccessible::Graphic);
  return nullptr;
}

}  // namespace dorvane::controls
