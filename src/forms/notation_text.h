#pragma once
// Typed values reach the notation as 8-bit text: a character beyond Latin-1
// cannot be part of a value and reads as an unknown byte. One conversion
// each way, for the windows and the command line.
#include <QString>
#include <string>

namespace dorvane::forms {

inline std::string NotationBytes(const QString& typed) {
  return typed.toLatin1().toStdString();
}

inline QString FromNotationBytes(const std::string& text) {
  return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

}  // namespace dorvane::forms
