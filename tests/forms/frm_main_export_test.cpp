// The window's copy menu, its error report when the clipboard refuses, and
// the chart's mouse behaviour inside the window (wheel routing, a zoom that
// survives edits).
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include "chart/chart.h"
#include "chart/chart_export.h"
#include "controls/flat_edit.h"
#include "forms/frm_main.h"
#include "support/shown_main_window.h"
#include "support/widget_helpers.h"

namespace dorvane::forms {
namespace {

using testsupport::Settle;

class Refusing final : public chart::ClipboardPort {
 public:
  bool Replace(std::unique_ptr<QMimeData>) override { return false; }
};

class WindowExport : public testsupport::ShownMainWindow {
 protected:
  void SetUp() override {
    Open();
    Settle();
  }
  QImage ChartOnScreen() { return ui().Chart1->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  // Alt+E, then the item's access key in the open menu.
  void ChooseFromEdition(Qt::Key item) {
    QTest::keyClick(window_.get(), Qt::Key_E, Qt::AltModifier);
    Settle();
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr) << "Alt+E opened no menu";
    QTest::keyClick(popup, item);
    Settle();
  }
};

TEST_F(WindowExport, EditionMenuCopiesTheChartAsBitmapAndAsSvg) {
  ChooseFromEdition(Qt::Key_C);
  const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(copied.size(), QSize(345, 321));
  EXPECT_EQ(copied, ChartOnScreen());

  ChooseFromEdition(Qt::Key_O);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(data->hasFormat("image/svg+xml"));
  EXPECT_TRUE(data->data("image/svg+xml").contains(R"(<svg width="344" height="320")"));
  EXPECT_FALSE(data->hasImage());
}

// Ctrl+S saves the chart and Ctrl+C copies it as a bitmap, as the menus
// show; a value box with the focus keeps its own Ctrl+C and Ctrl+V.
TEST_F(WindowExport, StandardKeysSaveAndCopyTheChartAndValueBoxesKeepTheirs) {
  EXPECT_EQ(ui().Enregistrerlegraphiquesous1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(ui().Copier1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  QClipboard* clipboard = QGuiApplication::clipboard();

  clipboard->setText(QStringLiteral("avant"));
  // A check box clicked has the focus.
  ui().cbShowCurveOriginal->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), ui().cbShowCurveOriginal);
  QTest::keyClick(ui().cbShowCurveOriginal, Qt::Key_C, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB32), ChartOnScreen());

  ui().edP1->setFocus();
  ui().edP1->selectAll();
  QTest::keyClick(ui().edP1, Qt::Key_C, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(clipboard->text(), ui().edP1->text());
  EXPECT_FALSE(clipboard->mimeData()->hasImage());
  clipboard->setText(QStringLiteral("4K7"));
  ui().edR2->setFocus();
  ui().edR2->selectAll();
  QTest::keyClick(ui().edR2, Qt::Key_V, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(ui().edR2->text(), QStringLiteral("4K7"));

  QString title;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      title = dialog->windowTitle();
      dialog->reject();
    }
  });
  closer.start(20);
  QTest::keyClick(ui().edR2, Qt::Key_S, Qt::ControlModifier);
  closer.stop();
  EXPECT_EQ(title, QStringLiteral("Enregistrer le graphique sous"));
}

TEST_F(WindowExport, RefusedClipboardShowsTheMessageAndTheWindowGoesOn) {
  for (QAction* action : {ui().Copier1, ui().CopierenMetafile1}) {
    QGuiApplication::clipboard()->setText(QStringLiteral("avant"));
    Refusing refusing;
    chart::ScopedChartClipboard scope(refusing);
    QStringList shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown << box->text();
        box->accept();
      }
    });
    closer.start(10);
    action->trigger();
    closer.stop();
    EXPECT_EQ(shown, QStringList{"Ne peut ouvrir le Presse-papiers"}) << action->objectName().toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("avant"));
  }
  // Still usable: an edit runs the rule and the chart follows.
  const qint64 runs = window_->RuleRunCount();
  const QImage before = ChartOnScreen();
  ui().edR2->setFocus();
  QTest::keyClick(ui().edR2, Qt::Key_End);
  QTest::keyClicks(ui().edR2, "2");
  Settle();
  EXPECT_EQ(window_->RuleRunCount(), runs + 1);
  EXPECT_NE(ChartOnScreen(), before);
}

TEST_F(WindowExport, WheelOverTheChartMovesItsVerticalAxisAndNowhereElse) {
  QWindow* handle = window_->windowHandle();
  ASSERT_NE(handle, nullptr);
  auto wheelAt = [&](QWidget* over, QPoint local) {
    const QPointF p = over->mapTo(window_.get(), QPointF(local));
    QWheelEvent e(p, handle->mapToGlobal(p), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(handle, &e);  // routed as the window routes it
    Settle();
  };
  wheelAt(ui().edP1, {5, 5});
  EXPECT_EQ(ui().Chart1->LeftAxis()->Minimum(), 0);
  wheelAt(ui().Chart1, {170, 160});
  EXPECT_NEAR(ui().Chart1->LeftAxis()->Minimum(), 3, 1e-9);
  EXPECT_NEAR(ui().Chart1->LeftAxis()->Maximum(), 103, 1e-9);
  EXPECT_EQ(ui().Chart1->BottomAxis()->Minimum(), 0);
}

TEST_F(WindowExport, AZoomSurvivesEditsUntilUndone) {
  chart::TChart* chart = ui().Chart1;
  QTest::mousePress(chart, Qt::LeftButton, {}, {120, 100});
  QTest::mouseMove(chart, {160, 140});
  QTest::mouseMove(chart, {200, 180});
  QTest::mouseRelease(chart, Qt::LeftButton, {}, {200, 180});
  Settle();
  ASSERT_TRUE(chart->Zoomed());
  const double min = chart->BottomAxis()->Minimum(), max = chart->BottomAxis()->Maximum();
  EXPECT_GT(min, 0);
  EXPECT_LT(max, 100);
  ui().edR2->setFocus();
  QTest::keyClicks(ui().edR2, "7");
  Settle();
  EXPECT_EQ(chart->BottomAxis()->Minimum(), min);
  EXPECT_EQ(chart->BottomAxis()->Maximum(), max);
  EXPECT_TRUE(chart->Zoomed());
  QTest::mousePress(chart, Qt::LeftButton, {}, {200, 180});
  QTest::mouseMove(chart, {120, 100});
  QTest::mouseRelease(chart, Qt::LeftButton, {}, {120, 100});
  Settle();
  EXPECT_FALSE(chart->Zoomed());
  EXPECT_EQ(chart->BottomAxis()->Minimum(), 0);
  EXPECT_EQ(chart->BottomAxis()->Maximum(), 100);
}

}  // namespace
}  // namespace dorvane::forms
