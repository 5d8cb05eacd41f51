// FractionText against a reference built from the C library's exact printf
// rounding: the quotient to 15 significant digits ("%.14e"), then to the
// pattern's decimals with a tie going away from zero, no minus before an
// all-zero value, the locale's separator. A failure must be ParseNumber's,
// or an overflow where the quotient is not finite.
//
// Input: byte 0 picks the locale (C, en_US, de_DE, fr_FR, fa_IR, ar_EG);
// byte 1 the pattern (bit 0: "0.0000" or "0.00") and the scale (bits 1-3);
// the rest is the text as UTF-16LE code units.
#include <cmath>
#include <cstdlib>

#include "colour/colour_rules.h"
#include "fuzz_support.h"

namespace {

using namespace pigmo;

constexpr double kScales[] = {255, 100, 1, 3, 7, 0.1, 1e-300, 1e300};

std::u16string Reference(double q, std::size_t decimals, std::u16string_view sep) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(q));  // d.dddddddddddddde+XX
  const long point = std::strtol(buf + 17, nullptr, 10) + 1;  // digits before the point
  std::string digits = std::string(1, buf[0]) + std::string(buf + 2, 14);
  // Every digit down to the last decimal, then the first one dropped.
  if (point < 0) digits.insert(0, static_cast<std::size_t>(-point), '0');
  const std::size_t whole = point > 0 ? static_cast<std::size_t>(point) : 0;
  digits.resize(whole + decimals + 1, '0');
  const bool up = digits.back() >= '5';
  digits.pop_back();
  for (std::size_t i = digits.size(); up && i-- > 0;) {
    digits[i] = digits[i] == '9' ? '0' : static_cast<char>(digits[i] + 1);
    if (digits[i] != '0') break;
    if (i == 0) digits.insert(digits.begin(), '1');
  }
  std::string integer = digits.substr(0, digits.size() - decimals);
  while (integer.size() > 1 && integer[0] == '0') integer.erase(0, 1);
  if (integer.empty()) integer = "0";
  std::u16string out = q < 0 && digits.find_first_not_of('0') != std::string::npos ? u"-" : u"";
  for (const char c : integer) out += static_cast<char16_t>(c);
  out += sep;
  for (const char c : digits.substr(digits.size() - decimals)) out += static_cast<char16_t>(c);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto locales = fuzz::MakeLocales({"C", "en_US", "de_DE", "fr_FR", "fa_IR", "ar_EG"});
  fuzz::Bytes in{data, size};
  const runtime::Locale& locale = locales[in.Byte() % locales.size()];
  const std::uint8_t mode = in.Byte();
  const std::u16string_view pattern = (mode & 1) == 0 ? u"0.0000" : u"0.00";
  const double scale = kScales[(mode >> 1) & 7];
  const std::u16string text = in.Units();

  const auto number = fuzz::Run<double>([&] { return colour::ParseNumber(text, locale); });
  const auto got = fuzz::Run<std::u16string>([&] { return colour::FractionText(text, scale, pattern, locale); });
  const auto report = [&](const std::string& expected) {
    fuzz::Finding("FractionText(" + fuzz::Show(text) + ", " + std::to_string(scale) + ", " + fuzz::Show(pattern) +
                  ") in " + locale.Name() + " gave " + fuzz::Describe(got, fuzz::Show) + ", expected " + expected);
  };
  if (const auto* kind = std::get_if<runtime::ErrorKind>(&number)) {
    if (got != decltype(got)(*kind)) report(std::string("ParseNumber's error, ") + runtime::ErrorKindName(*kind));
    return 0;
  }
  const double q = std::get<double>(number) / scale;
  if (!std::isfinite(q)) {
    if (got != decltype(got)(runtime::ErrorKind::kOverflow)) report("overflow");
    return 0;
  }
  const std::u16string want = Reference(q, pattern.size() - 2, locale.DecimalSeparator());
  if (got != decltype(got)(want)) report(fuzz::Show(want));
  return 0;
}
