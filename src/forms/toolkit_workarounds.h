#pragma once
// What the program does only because of the toolkit as Debian 12 ships it
// (Qt 6.4): each is explained, with the test that tells when it can go, in
// toolkit_workarounds.cpp.
#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QApplication;

namespace dorvane::forms {

// Every top-level window shown from now on whose size is fixed (the main
// window, the dialogs, the message boxes) keeps its size whatever asks to
// maximise it or put it full screen: its title bar, the window manager or
// compositor (their keys, menus and rules) or the program; on Wayland the
// compositor hears of the fixed size from the program.
void KeepFixedWindowsAtTheirSize(QApplication& app);

// On Wayland, a window that has an opener leaves the screen as it closes, not
// after the compositor's closing animation; elsewhere does nothing.
void UnmapClosedWindowsAtOnce(QApplication& app);

// On Wayland, ends the process with `status` without the toolkit's teardown;
// elsewhere does nothing.
void EndOnWaylandWithoutTeardown(int status);

// How many arguments from `i` on form one of the toolkit's own options (with
// one or two dashes: "-style fusion", "--style=fusion", "--reverse"); 0 when
// arguments[i] is not one. The toolkit takes them out only once it starts.
qsizetype ToolkitArgumentCount(const QStringList& arguments, qsizetype i);
// An option's name without its dashes and value ("--style=fusion": "style").
QString ToolkitOptionName(const QString& arg);

// Sets the page box of a PDF the toolkit wrote to `points` (its writer keeps
// whole points); false when the PDF has no box it can rewrite in place.
bool SetPdfPageBox(QByteArray& pdf, QSizeF points);

// The toolkit's notice that XDG_RUNTIME_DIR is unset stays off stderr (the
// command line opens no window and never uses the runtime folder); every
// other message goes on as before.
void HideUnsetRuntimeFolderNotices();

}  // namespace dorvane::forms
