// ParseNumber against the grammar read plainly and strtod (docs/robustness.md).
// Input: the locale byte (C, en_US, de_DE, fa_IR), then the text.
#include <cmath>

#include "colour/colour_rules.h"
#include "fuzz_support.h"

using namespace pigmo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Bytes in{data, size};
  const runtime::Locale& locale = fuzz::Locale(in.Byte() % 4);
  const std::u16string text = in.Units();
  // As strtod reads it: the separator as ".", other non-ASCII (and a "." that
  // is not the separator) as "#".
  std::string s;
  for (const char16_t c : text) s += c == locale.DecimalSeparator()[0] ? '.' : c == u'.' || c > 0x7E ? '#' : char(c);
  // The grammar: spaces, sign, digits with at most one separator among them
  // (one digit at least), an optional exponent, spaces.
  std::size_t i = s.find_first_not_of(' '), n = s.find_last_not_of(' ') + 1;
  const auto take = [&](std::string_view set) { return i < n && set.find(s[i]) != set.npos && ++i; };
  const auto digits = [&] { std::size_t k = 0; while (take("0123456789")) ++k; return k; };
  take("+-");
  std::size_t count = digits();
  if (take(".")) count += digits();
  const bool ok = count > 0 && (!take("eE") || (take("+-"), digits() > 0)) && i == n;
  const double want = ok ? std::strtod(s.c_str(), nullptr) : NAN;
  const auto error = std::isnan(want) ? runtime::ErrorKind::kTypeMismatch : runtime::ErrorKind::kOverflow;
  const std::string call = "ParseNumber(" + fuzz::Show(text) + ") in " + locale.Name();
  fuzz::Expect(fuzz::Outcome([&] { return colour::ParseNumber(text, locale); }),
               std::isfinite(want) ? fuzz::Show(want) : fuzz::Show(error), call);
  if (!std::isfinite(want)) return 0;
  fuzz::Expect(fuzz::Show(colour::ExceedsBound(text, 255, locale)), fuzz::Show(want > 255), call + ", ExceedsBound");
  fuzz::Expect(fuzz::Show(colour::IsEdgeValue(text, 0, locale)), fuzz::Show(want == 0), call + ", IsEdgeValue");
  return 0;
}
