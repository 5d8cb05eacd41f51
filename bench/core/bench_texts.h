// The text both the core and the Qt benchmarks clean, and their locale.
#pragma once

#include <cstddef>
#include <string>

#include "runtime/locale.h"

namespace pigmo::bench {

// Digits with a comma, a dot and a letter now and then, as a pasted or
// mistyped number might look.
inline std::u16string MixedText(std::size_t length) {
  std::u16string s(length, u'0');
  for (std::size_t k = 0; k < length; ++k) {
    s[k] = k % 97 == 41     ? u','
           : k % 211 == 17  ? u'.'
           : k % 331 == 100 ? u'a'
                            : static_cast<char16_t>(u'0' + (k * 7 + k / 10) % 10);
  }
  return s;
}

inline const runtime::Locale& BenchLocale() {
  static const runtime::Locale locale = runtime::Locale::Named("en_US");
  return locale;
}

}  // namespace pigmo::bench
