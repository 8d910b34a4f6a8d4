#pragma once
// The pictures the program carries (resources/dorvane.qrc): its icon, and the
// about box's background and bullet.
#include <QIcon>
#include <QImage>

namespace dorvane {

// The program's icon: the 32 x 32, 16-colour picture and the larger sizes
// drawn from the same design. Set it as the application's window icon.
QIcon ProgramIcon();

// The about box's marble background, 245 x 331 with a palette of 85 greys.
QImage MarblePicture();

// The about box's bullet, 12 x 12 in 16 colours.
QImage BulletPicture();

// Registers the pictures; the functions above do it themselves.
void InitPictures();

}  // namespace dorvane
