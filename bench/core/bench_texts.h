// Inputs shared by the benchmarks, so the core and the window benchmarks
// clean the very same text.
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
    if (k % 97 == 41) {
      s[k] = u',';
    } else if (k % 211 == 17) {
      s[k] = u'.';
    } else if (k % 331 == 100) {
      s[k] = u'a';
    } else {
      s[k] = static_cast<char16_t>(u'0' + (k * 7 + k / 10) % 10);
    }
  }
  return s;
}

inline const runtime::Locale& BenchLocale() {
  static const runtime::Locale locale = runtime::Locale::Named("en_US");
  return locale;
}

}  // namespace pigmo::bench
