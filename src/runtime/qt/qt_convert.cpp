#include "runtime/qt/qt_convert.h"

namespace pigmo::runtime::qt {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16String(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

QString ToQString(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QColor ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                static_cast<int>((colour >> 16) & 0xFFu));
}

Colour FromQColor(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return static_cast<Colour>(rgb.red()) | (static_cast<Colour>(rgb.green()) << 8) |
         (static_cast<Colour>(rgb.blue()) << 16);
}

QString WithLineBreaks(std::u16string_view text) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r') {
      out.append(QChar(u'\n'));
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      out.append(QChar(c));
    }
  }
  return out;
}

}  // namespace pigmo::runtime::qt
