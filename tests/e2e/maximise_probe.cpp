// Run on a Wayland compositor by the end-to-end tests: each kind of window is
// asked to maximise, as its title bar's button asks, then to grow; then the
// compositor is asked, by its own keys, to maximise it and to make it full
// screen. For those it prints "press KEYS" and waits for the state to come.
// One line per window; exit 0 when each kept its size.
#include <QMessageBox>
#include <QTest>
#include <QWindow>
#include <cstdio>
#include <initializer_list>

#include "core/finder.h"
#include "forms/application.h"
#include "forms/frm_about.h"
#include "forms/frm_find_resistor.h"
#include "forms/frm_main.h"

namespace {

// Asks the test to press `keys` and waits for the compositor's state to come
// and go; true when it came.
bool CompositorChange(QWidget& w, const char* keys, Qt::WindowState state) {
  bool came = false;
  const auto watch = QObject::connect(w.windowHandle(), &QWindow::windowStateChanged,
                                      [&](Qt::WindowState s) { came |= s == state; });
  std::printf("press %s\n", keys);
  std::fflush(stdout);
  if (QTest::qWaitFor([&] { return came; }, 10000)) QTest::qWait(1500);
  QObject::disconnect(watch);
  return came;
}

}  // namespace

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
    const bool asked = !w->isMaximized() && w->size() == size;
    const bool maximised = CompositorChange(*w, "super+shift+m", Qt::WindowMaximized);
    const bool fullScreen = CompositorChange(*w, "super+shift+f", Qt::WindowFullScreen);
    const bool ok =
        asked && maximised && fullScreen && w->windowState() == Qt::WindowNoState && w->size() == size;
    kept += ok;
    std::printf("%s %dx%d -> %dx%d%s%s%s\n", w->metaObject()->className(), size.width(), size.height(),
                w->width(), w->height(), asked ? "" : ", kept no size when asked",
                maximised ? "" : ", never maximised by the compositor",
                fullScreen ? "" : ", never full screen by the compositor");
    std::fflush(stdout);
    if (w != &main) w->hide();
  }
  EndOnWaylandWithoutTeardown(kept == windows ? 0 : 1);
  return kept == windows ? 0 : 1;
}
