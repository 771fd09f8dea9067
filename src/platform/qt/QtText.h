#pragma once
// Catalog text <-> Qt strings. Both are UTF-16, so nothing is converted, and
// control characters (message markup, field markers) pass through unchanged:
//   toQString(u"表\x01x") has three units, fromQString of it gives them back.
#include <QString>
#include <QStringView>

#include "text/Text.h"

namespace zevro {

inline QString toQString(TextView text) {
  return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

inline Text fromQString(const QString& s) {
  return Text(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size()));
}

}  // namespace zevro
