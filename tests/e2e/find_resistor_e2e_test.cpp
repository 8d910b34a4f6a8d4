// "Trouver la résistance" in the real program: the menu by keyboard, a typed
// wanted value, Appliquer, and the chart redrawn with the new curve.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "e2e/x_session.h"

namespace dorvane::e2e {
namespace {

const QString kDialogTitle = QString::fromUtf8("Trouver la résistance");

TEST(EndToEnd, FindResistorAppliesAStandardValue) {
  XSession x;
  if (!x.ok()) GTEST_SKIP() << x.error().toStdString();
  QProcess& program = x.start(DORVANE_BINARY, {}, {"LC_ALL=fr_FR.UTF-8"});
  const qulonglong wid = x.waitForWindow(kMainTitle);
  ASSERT_NE(wid, 0u) << "the window never showed";
  x.focus(wid);
  QImage shot = x.screenshotUntil(wid, [](const QImage& s) { return PanelTop(s) >= 0; });
  const int top = PanelTop(shot);
  ASSERT_GE(top, 0);
  const QRect chart(248, top + 16, 345, 321);
  const QImage before = shot.copy(chart);
  const QRect caption(120, top + 224, 40, 26);  // R2's caption in the diagram
  const QImage captionBefore = shot.copy(caption);

  // Alt+O opens "Outils", T its only item.
  x.key("alt+o");
  Sleep(300);
  x.key("t");
  const qulonglong dialog = x.waitForWindow(kDialogTitle);
  ASSERT_NE(dialog, 0u) << "the dialog never showed";
  // Alt+V reaches the wanted value: 5 % at 50 % with R2 on 100K is 2 778
  // ohms exactly, and 2,7K the E24 value that comes closest; Enter applies.
  x.key("alt+v");
  x.key("ctrl+a");
  x.type("5");
  Sleep(200);
  x.key("Return");
  QElapsedTimer shown;
  shown.start();
  while (x.waitForWindow(kDialogTitle, 100) != 0 && shown.elapsed() < 5000) Sleep(100);
  EXPECT_EQ(x.waitForWindow(kDialogTitle, 100), 0u) << "Appliquer did not close the dialog";

  shot = x.screenshotUntil(wid, [&](const QImage& s) { return s.copy(chart) != before; });
  const QImage after = shot.copy(chart);
  EXPECT_NE(after, before) << "the chart did not change";
  EXPECT_GT(CountColour(after, after.rect(), qRgb(255, 0, 0)), 200) << "no loaded curve";
  EXPECT_NE(shot.copy(caption), captionBefore) << "R2's caption still shows the old value";

  x.focus(wid);
  x.key("alt+f");
  Sleep(300);
  x.key("q");
  ASSERT_TRUE(program.waitForFinished(10000)) << "the program did not end";
  EXPECT_EQ(program.exitCode(), 0);
}

}  // namespace
}  // namespace dorvane::e2e
