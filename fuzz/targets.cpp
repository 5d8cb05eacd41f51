// The libFuzzer targets (docs/robustness.md); each executable runs the one PIGMO_FUZZ_TARGET names and compares
// outcomes shown exactly: the result, or the runtime error's kind.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "colour/colour_rules.h"
#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"
#include "runtime/error.h"
#include "runtime/locale.h"

namespace pigmo::fuzz {

struct Bytes {
  const std::uint8_t* data;
  std::size_t size, at = 0;
  std::uint8_t Byte() { return at < size ? data[at++] : 0; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
  std::u16string Units(std::size_t count = SIZE_MAX) {  // an odd last byte is dropped
    std::u16string out;
    while (out.size() < count && size - at >= 2) out.push_back(static_cast<char16_t>(U16()));
    return out;
  }
};

// Built once, in a fixed order, so a saved input replays in the same locale.
const runtime::Locale& Locale(std::size_t pick) {
  using runtime::Locale;
  static const Locale all[] = {Locale::Named("C"),     Locale::Named("en_US"), Locale::Named("de_DE"),
                               Locale::Named("fa_IR"), Locale::Named("fr_FR"), Locale::Named("ar_EG")};
  return all[pick % 6];
}

// ASCII as is, everything else as \uXXXX: one text, one rendering.
std::string Show(std::u16string_view s) {
  std::string out = "\"";
  char buf[8];
  for (const char16_t c : s) {
    const bool plain = c >= 0x20 && c < 0x7F && c != u'\\' && c != u'"';
    out.append(buf, std::snprintf(buf, sizeof buf, plain ? "%c" : "\\u%04X", unsigned{c}));
  }
  return out + "\"";
}
std::string Show(double d) {  // 17 digits tell every double apart, -0 included
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", d);
  return buf;
}
std::string Show(const restriction::Cleaned& c) { return Show(c.text) + " caret " + std::to_string(c.caret); }
std::string Show(runtime::ErrorKind kind) { return std::string("error ") + runtime::ErrorKindName(kind); }

template <typename Call>
std::string Outcome(Call&& call) try {
  return Show(call());
} catch (const runtime::Error& error) {
  return Show(error.kind());
}

void Expect(const std::string& got, const std::string& want, const std::string& call) {
  if (got == want) return;
  std::fprintf(stderr, "\n=== FINDING: %s gave %s, expected %s\n", call.c_str(), got.c_str(), want.c_str());
  std::abort();
}

// The targets. Input: the locale byte (C, en_US, de_DE, fa_IR), then the text.
void ParseNumber(Bytes in) {
  const runtime::Locale& locale = Locale(in.Byte() % 4);
  const std::u16string text = in.Units();
  // For strtod: the separator as ".", other non-ASCII (and a "." that is not the separator) as "#". Then the grammar:
  // spaces, a sign, digits with at most one separator among them (a digit at least), an exponent, spaces.
  std::string s;
  for (const char16_t c : text) s += c == locale.DecimalSeparator()[0] ? '.' : c == u'.' || c > 0x7E ? '#' : char(c);
  std::size_t i = s.find_first_not_of(' '), n = s.find_last_not_of(' ') + 1;
  const auto take = [&](std::string_view set) { return i < n && set.find(s[i]) != set.npos && ++i; };
  const auto digits = [&] {
    std::size_t k = 0;
    while (take("0123456789")) ++k;
    return k;
  };
  take("+-");
  std::size_t count = digits();
  if (take(".")) count += digits();
  const bool ok = count > 0 && (!take("eE") || (take("+-"), digits() > 0)) && i == n;
  const double want = ok ? std::strtod(s.c_str(), nullptr) : NAN;
  const auto error = std::isnan(want) ? runtime::ErrorKind::kTypeMismatch : runtime::ErrorKind::kOverflow;
  Expect(Outcome([&] { return colour::ParseNumber(text, locale); }), std::isfinite(want) ? Show(want) : Show(error),
         "ParseNumber(" + Show(text) + ") in " + locale.Name());
}

// Input: the locale byte; a byte with the pattern (bit 0: "0.0000" | "0.00") and the scale (bits 1-3); then the text.
void FractionText(Bytes in) {
  static constexpr double kScales[] = {255, 100, 1, 3, 7, 0.1, 1e-300, 1e300};
  const runtime::Locale& locale = Locale(in.Byte());
  const std::uint8_t mode = in.Byte();
  const std::u16string_view pattern = mode & 1 ? u"0.00" : u"0.0000";
  const double scale = kScales[(mode >> 1) & 7];
  const std::u16string text = in.Units();
  std::string want = Outcome([&] { return colour::ParseNumber(text, locale); });
  const double q = want.starts_with("error") ? 0 : std::strtod(want.c_str(), nullptr) / scale;  // Show(double) is exact
  if (!std::isfinite(q)) want = Show(runtime::ErrorKind::kOverflow);
  if (!want.starts_with("error")) {
    const int decimals = static_cast<int>(pattern.size()) - 2;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(q));                         // d.dddddddddddddde+XX
    const long long m = std::atoll((std::string(1, buf[0]) + (buf + 2)).c_str());  // the 15 digits
    const int shift = std::max(std::atoi(buf + 17) - 14 + decimals, -16);          // m * 10^shift: the value in units
    long long half = 5;                                                            // of the last decimal; round that
    for (int i = shift; i < -1; ++i) half *= 10;
    std::string n = shift >= 0 ? std::to_string(m) + std::string(shift, '0') : std::to_string((m + half) / (2 * half));
    n.insert(0, std::max(0, decimals + 1 - static_cast<int>(n.size())), '0');
    std::u16string out = q < 0 && n.find_first_not_of('0') != std::string::npos ? u"-" : u"";
    for (const char c : n.insert(n.size() - decimals, 1, '.')) c == '.' ? out += locale.DecimalSeparator() : out += c;
    want = Show(out);
  }
  Expect(Outcome([&] { return colour::FractionText(text, scale, pattern, locale); }), want,
         "FractionText(" + Show(text) + ", " + Show(scale) + ", " + Show(pattern) + ") in " + locale.Name());
}

// Input: byte 0 bits 0-1 the delimiter ("." | "^" | "," | units from the input: one, or two where bit 7 is set),
// bits 2-3 the allowed set (digits + delimiter | digits | up to 8 units from the input, after a length byte | digits +
// delimiter), bits 4-5 the locale, bit 6 the caret taken as is (to the 16-bit scan limit), not modulo length + 2;
// bytes 1-2 the caret; the chosen
// delimiter and set; the text. `long_text` puts a run of 32,766 "0" (moved by the next byte, +-128) before the text and
// the caret near its end, where the scan index overflows.
void CleanText(Bytes in, bool long_text = false) {
  const std::uint8_t mode = in.Byte();
  const std::uint16_t field = in.U16();
  std::u16string delimiter = (mode & 3) < 3 ? std::u16string(1, u".^,"[mode & 3]) : in.Units(1 + (mode >> 7));
  if (delimiter.empty()) delimiter = u".";
  const int sets = (mode >> 2) & 3;
  const std::u16string allowed = sets == 2 ? in.Units(in.Byte() % 9) : u"0123456789" + (sets == 1 ? u"" : delimiter);
  const runtime::Locale& locale = Locale((mode >> 4) & 3);
  const std::size_t filler = long_text ? 32766 - 128 + in.Byte() : 0;
  const std::u16string text = std::u16string(filler, u'0') + in.Units();
  const std::int32_t caret = long_text     ? std::max(0, static_cast<std::int32_t>(filler) - 128 + field % 512)
                             : mode & 0x40 ? field
                                           : field % (static_cast<std::int32_t>(text.size()) + 2);
  Expect(Outcome([&] { return restriction::CleanText(text, caret, allowed, delimiter, locale); }),
         Outcome([&] { return restriction::oracle::CleanText(text, caret, allowed, delimiter, locale); }),
         "CleanText(" + Show(text) + ", " + std::to_string(caret) + ", " + Show(allowed) + ", " + Show(delimiter) +
             ") in " + locale.Name());
}
void CleanTextLong(Bytes in) { CleanText(in, true); }

}  // namespace pigmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pigmo::fuzz::PIGMO_FUZZ_TARGET(pigmo::fuzz::Bytes{data, size});
  return 0;
}
