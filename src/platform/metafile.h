#pragma once
// The system's own vector picture, for the clipboard: Windows' enhanced
// metafile. Other systems have none, and their clipboard keeps the SVG copy
// alone.
#include <QByteArray>
#include <QSize>
#include <functional>

class QPainter;

namespace dorvane::platform {

// The picture's name in the toolkit's clipboard data; the system clipboard
// receives it in the system's metafile format.
inline constexpr char kMetafileMimeType[] = "image/x-emf";

// What `draw` paints, recorded through the system's metafile functions into
// a picture of `size` pixels with the screen as reference device: the
// metafile's bytes, or nothing where the system has no metafile or the
// recording failed.
QByteArray RecordMetafile(QSize size, const std::function<void(QPainter&)>& draw);

// Lets the system clipboard carry kMetafileMimeType data as the system's
// own metafile (and read it back as such). Idempotent; nothing where there
// is no metafile or no system clipboard.
void OfferMetafileToClipboard();

}  // namespace dorvane::platform
