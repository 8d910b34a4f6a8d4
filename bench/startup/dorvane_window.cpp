// Start-up of the program itself, to its first painted frame: the same steps
// as src/app/main.cpp, then quit.
#include <QCoreApplication>

#include "first_paint.h"
#include "forms/application.h"
#include "forms/frm_main.h"
#include "forms/startup.h"
#include "gfx/fonts.h"

int main(int argc, char** argv) {
  using namespace dorvane;
  forms::TApplication app(argc, argv);
  QCoreApplication::setApplicationName(forms::TitleFromProgramFile(QCoreApplication::applicationFilePath()));
  gfx::InstallFontSubstitutions();
  forms::TfmMain fmMain;
  QuitAfterFirstPaint quit(&fmMain);
  fmMain.show();
  return app.exec();
}
