// Conversions between the runtime's value types and Qt's.
#pragma once

#include <QColor>
#include <QString>
#include <string>
#include <string_view>

#include "runtime/controls.h"

namespace pigmo::runtime::qt {

// Code unit for code unit, both ways: no byte-order mark is dropped and
// lone surrogates survive (QString::fromUtf16 would decode instead).
QString ToQString(std::u16string_view text);
std::u16string ToU16String(const QString& text);
QString ToQString(std::string_view utf8);

// 0x00BBGGRR, red in the low byte; the top byte is ignored.
QColor ToQColor(Colour colour);
Colour FromQColor(const QColor& colour);

// Turns CR LF, lone CR and lone LF into the "\n" Qt's plain-text labels
// break lines at.
QString WithLineBreaks(std::u16string_view text);

}  // namespace pigmo::runtime::qt
