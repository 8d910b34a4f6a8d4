// Baseline for start-up: a 600 x 400 window with the same stock controls
// (line edit, check box, combo box, menu, status bar) that quits after its
// first paint.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  auto* central = new QWidget(&window);
  window.setCentralWidget(central);
  new QLineEdit(QStringLiteral("100K"), central);
  (new QCheckBox(QStringLiteral("Ajouter"), central))->move(0, 40);
  auto* combo = new QComboBox(central);
  combo->addItems({QStringLiteral("Linéaire"), QStringLiteral("Logarithmique")});
  combo->move(0, 80);
  window.menuBar()->addMenu(QStringLiteral("Fichier"))->addAction(QStringLiteral("Quitter"));
  window.statusBar()->showMessage(QStringLiteral("Exemples"));
  window.resize(600, 400);
  QuitAfterFirstPaint quit(&window);
  window.show();
  return app.exec();
}
