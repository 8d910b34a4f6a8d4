// Dorvane: the potentiometer taper tool. Starts the application, shows the
// main window and runs until it closes; nothing is read or saved.
#include <QIcon>
#include <QStringList>
#include <cstdio>

#include "app/command_line.h"
#include "forms/application.h"
#include "forms/frm_main.h"
#include "forms/pictures.h"
#include "forms/startup.h"
#include "forms/toolkit_language.h"
#include "gfx/fonts.h"
#include "platform/console.h"
#include "platform/desktop.h"

int main(int argc, char** argv) {
  using namespace dorvane;
  platform::AttachParentConsole();
  app::PrepareCommandLine(argc, argv);  // before the toolkit picks a display
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (const QString problem = forms::DisplayProblem(arguments); !problem.isEmpty()) {
    std::fprintf(stderr, "dorvane : %s.\nLancez Dorvane depuis une session graphique.\n",
                 problem.toUtf8().constData());
    return 1;
  }
  forms::TakeOutPlacementOptions(argc, argv);
  forms::TApplication app(argc, argv);
  forms::InstallToolkitTranslations();  // English menus when they are missing
  QCoreApplication::setApplicationName(
      platform::ProgramTitle(forms::TitleFromProgramFile(QCoreApplication::applicationFilePath())));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.dorvane.Dorvane"));
  gfx::InstallFontSubstitutions();
  QApplication::setWindowIcon(ProgramIcon());
  if (const int status = app::RunCommandLine(QCoreApplication::arguments()); status >= 0) return status;

  int status = 0;
  {
    forms::TfmMain fmMain;
    if (const auto placement = forms::RequestedPlacement(arguments)) fmMain.PlaceAt(*placement);
    fmMain.show();
    status = app.exec();
  }
  forms::EndOnWaylandWithoutTeardown(status);
  return status;
}
