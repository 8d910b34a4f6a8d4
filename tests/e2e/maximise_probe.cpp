// Run on a Wayland compositor by the end-to-end tests: each kind of window is
// asked to maximise, as its title bar's button asks, then to grow. One line
// per window; exit 0 when each kept its size.
#include <QMessageBox>
#include <QTest>
#include <cstdio>
#include <initializer_list>

#include "core/finder.h"
#include "forms/application.h"
#include "forms/frm_about.h"
#include "forms/frm_find_resistor.h"
#include "forms/frm_main.h"

int main(int argc, char** argv) {
  using namespace dorvane::forms;
  TApplication app(argc, argv);
  TfmMain main;
  main.show();
  if (!QTest::qWaitForWindowExposed(&main)) return 3;
  TfmAbout about(&main);
  TfmFindResistor finder(&main, QStringLiteral("100K"), ',', dorvane::Fitted::R2);
  QMessageBox question(QMessageBox::Question, QStringLiteral("Dorvane"),
                       QString::fromUtf8("Le fichier graphique.png existe déjà."),
                       QMessageBox::Yes | QMessageBox::No, &main);
  int kept = 0, windows = 0;
  for (QWidget* w : std::initializer_list<QWidget*>{&main, &about, &finder, &question}) {
    ++windows;
    w->show();
    if (!QTest::qWaitForWindowExposed(w)) return 3;
    QTest::qWait(300);
    const QSize size = w->size();
    w->showMaximized();
    QTest::qWait(1500);
    w->resize(size + QSize(100, 80));
    QTest::qWait(300);
    const bool ok = !w->isMaximized() && w->size() == size;
    kept += ok;
    std::printf("%s %dx%d -> %dx%d%s\n", w->metaObject()->className(), size.width(), size.height(),
                w->width(), w->height(), w->isMaximized() ? " maximised" : "");
    std::fflush(stdout);
    if (w != &main) w->hide();
  }
  std::fflush(stdout);
  return kept == windows ? 0 : 1;
}
