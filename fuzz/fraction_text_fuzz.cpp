// FractionText: the shape of every result, and its digits against a
// reference built from the C library's exact printf rounding.
//
// Input: byte 0 picks the locale (C, en_US, de_DE, fr_FR, fa_IR, ar_EG);
// byte 1 picks the pattern (bit 0: "0.0000" or "0.00") and the scale
// (bits 1-3); the rest is the text as UTF-16LE code units.
//
// Findings:
//   - an error of a kind other than type mismatch, overflow or invalid
//     argument, or of another kind than ParseNumber gives for the text;
//   - a failure where the quotient is finite, a result where it is not;
//   - a result not of the form  -?D+ SEP D{decimals}  with ASCII digits,
//     the locale's separator exactly once, no needless leading zero and no
//     minus before an all-zero value;
//   - digits that differ from the reference: the quotient to 15
//     significant digits (printf's correctly rounded "%.14e"), then to the
//     pattern's decimals with a tie going away from zero.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "colour/colour_rules.h"
#include "fuzz_support.h"

namespace {

using namespace pigmo;

constexpr double kScales[] = {255, 100, 1, 3, 7, 0.1, 1e-300, 1e300};

// Adds one unit at the last place of an ASCII digit string; "99" -> "100".
void Increment(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

// The expected text of FractionText for the quotient q.
std::u16string Reference(double q, int decimals, std::u16string_view sep) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", q);  // d.dddddddddddddde+XX
  const std::string s = buf;
  const bool negative = s[0] == '-';
  const std::size_t lead = negative ? 1 : 0;
  std::string sig = s.substr(lead, 1) + s.substr(lead + 2, 14);
  const long exponent = std::strtol(s.c_str() + s.find('e') + 1, nullptr, 10);

  // sig holds 15 digits with the point after the first; place it.
  const long point = exponent + 1;  // digits before the point
  std::string int_part;
  std::string frac_part;
  if (point <= 0) {
    int_part = "0";
    frac_part = std::string(static_cast<std::size_t>(-point), '0') + sig;
  } else if (point >= 15) {
    int_part = sig + std::string(static_cast<std::size_t>(point - 15), '0');
  } else {
    int_part = sig.substr(0, static_cast<std::size_t>(point));
    frac_part = sig.substr(static_cast<std::size_t>(point));
  }

  // To `decimals` places, half away from zero.
  std::string all;
  if (frac_part.size() <= static_cast<std::size_t>(decimals)) {
    frac_part.append(static_cast<std::size_t>(decimals) - frac_part.size(), '0');
    all = int_part + frac_part;
  } else {
    const bool up = frac_part[static_cast<std::size_t>(decimals)] >= '5';
    all = int_part + frac_part.substr(0, static_cast<std::size_t>(decimals));
    if (up) Increment(all);
  }
  std::string ip = all.substr(0, all.size() - static_cast<std::size_t>(decimals));
  const std::string fp = all.substr(all.size() - static_cast<std::size_t>(decimals));
  while (ip.size() > 1 && ip[0] == '0') ip.erase(ip.begin());
  const bool all_zero = all.find_first_not_of('0') == std::string::npos;

  std::u16string out;
  if (negative && !all_zero) out += u'-';
  for (const char c : ip) out += static_cast<char16_t>(c);
  out += sep;
  for (const char c : fp) out += static_cast<char16_t>(c);
  return out;
}

bool Digits(std::u16string_view s) {
  if (s.empty()) return false;
  for (const char16_t c : s) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

// The shape every result must have, independent of its value.
const char* ShapeFault(std::u16string_view r, int decimals, std::u16string_view sep) {
  std::u16string_view body = r;
  if (body.starts_with(u'-')) body.remove_prefix(1);
  const std::size_t at = body.find(sep);
  if (at == std::u16string_view::npos) return "no separator";
  if (body.find(sep, at + sep.size()) != std::u16string_view::npos) return "two separators";
  const std::u16string_view ip = body.substr(0, at);
  const std::u16string_view fp = body.substr(at + sep.size());
  if (!Digits(ip)) return "integer part not ASCII digits";
  if (fp.size() != static_cast<std::size_t>(decimals) || !Digits(fp)) return "wrong decimals";
  if (ip.size() > 1 && ip[0] == u'0') return "leading zero";
  if (r.starts_with(u'-') && ip.find_first_not_of(u'0') == std::u16string_view::npos &&
      fp.find_first_not_of(u'0') == std::u16string_view::npos) {
    return "minus before zero";
  }
  return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto locales = fuzz::MakeLocales({"C", "en_US", "de_DE", "fr_FR", "fa_IR", "ar_EG"});
  fuzz::Bytes in(data, size);
  const runtime::Locale& locale = locales[in.Byte() % locales.size()];
  const std::uint8_t mode = in.Byte();
  const bool channel = (mode & 1) == 0;
  const std::u16string_view pattern = channel ? u"0.0000" : u"0.00";
  const int decimals = channel ? 4 : 2;
  const double scale = kScales[(mode >> 1) & 7];
  const std::u16string text = in.Rest();
  const std::u16string& sep = locale.DecimalSeparator();

  const auto number = fuzz::Run<double>([&] { return colour::ParseNumber(text, locale); });
  const auto got = fuzz::Run<std::u16string>([&] { return colour::FractionText(text, scale, pattern, locale); });
  const auto report = [&](const std::string& expected) {
    char s[32];
    std::snprintf(s, sizeof s, "%g", scale);
    fuzz::Finding("FractionText(" + fuzz::Show(text) + ", " + s + ", " + fuzz::Show(pattern) + ") in " +
                  locale.Name() + " gave " +
                  got.Describe([](const std::u16string& r) { return fuzz::Show(r); }) + ", expected " +
                  expected);
  };

  if (!number.ok) {
    if (got.ok || got.kind != number.kind) {
      report(std::string("the error of ParseNumber, ") + runtime::ErrorKindName(number.kind));
    }
    return 0;
  }
  const double q = number.value / scale;
  if (!std::isfinite(q)) {
    if (got.ok || got.kind != runtime::ErrorKind::kOverflow) report("overflow");
    return 0;
  }
  if (!got.ok) report("a result");
  if (const char* fault = ShapeFault(got.value, decimals, sep)) report(std::string("a sound text, not ") + fault);
  const std::u16string want = Reference(q, decimals, sep);
  if (got.value != want) report(fuzz::Show(want));
  return 0;
}
