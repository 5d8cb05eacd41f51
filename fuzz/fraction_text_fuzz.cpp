// FractionText against printf's exact rounding to 15 significant digits, then
// half away from zero to the pattern's decimals (docs/robustness.md).
// Input: the locale byte; a byte with the pattern (bit 0: "0.0000" | "0.00")
// and the scale (bits 1-3); then the text.
#include <cmath>

#include "colour/colour_rules.h"
#include "fuzz_support.h"

using namespace pigmo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static constexpr double kScales[] = {255, 100, 1, 3, 7, 0.1, 1e-300, 1e300};
  fuzz::Bytes in{data, size};
  const runtime::Locale& locale = fuzz::Locale(in.Byte());
  const std::uint8_t mode = in.Byte();
  const std::u16string_view pattern = mode & 1 ? u"0.00" : u"0.0000";
  const double scale = kScales[(mode >> 1) & 7];
  const std::u16string text = in.Units();
  std::string want = fuzz::Outcome([&] { return colour::ParseNumber(text, locale); });
  const double q = want.starts_with("error") ? 0 : std::strtod(want.c_str(), nullptr) / scale;  // Show(double) is exact
  if (!std::isfinite(q)) want = fuzz::Show(runtime::ErrorKind::kOverflow);
  if (!want.starts_with("error")) {
    const int decimals = static_cast<int>(pattern.size()) - 2;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(q));                           // d.dddddddddddddde+XX
    const long long m = std::atoll((std::string(1, buf[0]) + (buf + 2)).c_str());   // the 15 digits
    const int shift = std::max(std::atoi(buf + 17) - 14 + decimals, -16);            // m * 10^shift: the value in units
    long long half = 5;                                                              // of the last decimal; round that
    for (int i = shift; i < -1; ++i) half *= 10;
    std::string n = shift >= 0 ? std::to_string(m) + std::string(shift, '0') : std::to_string((m + half) / (2 * half));
    n.insert(0, std::max(0, decimals + 1 - static_cast<int>(n.size())), '0');
    std::u16string out = q < 0 && n.find_first_not_of('0') != std::string::npos ? u"-" : u"";
    for (const char c : n.insert(n.size() - decimals, 1, '.')) c == '.' ? out += locale.DecimalSeparator() : out += c;
    want = fuzz::Show(out);
  }
  fuzz::Expect(fuzz::Outcome([&] { return colour::FractionText(text, scale, pattern, locale); }), want,
               "FractionText(" + fuzz::Show(text) + ", " + fuzz::Show(scale) + ", " + fuzz::Show(pattern) + ") in " +
                   locale.Name());
  return 0;
}
