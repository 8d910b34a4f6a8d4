#include "platform/metafile.h"

namespace dorvane::platform {

// The desktops here share vector pictures as SVG only.
QByteArray RecordMetafile(QSize, const std::function<void(QPainter&)>&) {
  return {};
}

void OfferMetafileToClipboard() {}

}  // namespace dorvane::platform
