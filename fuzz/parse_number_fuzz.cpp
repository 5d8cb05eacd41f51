// ParseNumber against a plain reading of the number grammar and the C
// library's correctly rounded strtod.
//
// Input: byte 0 picks the locale (C, en_US, de_DE, fa_IR); the rest is the
// text as UTF-16LE code units.
//
// Findings: an error other than type mismatch or overflow; a text the
// grammar accepts that fails, or one it rejects that converts; a value not
// bit for bit the double strtod gives (minus zero included); an overflow
// where strtod gives a finite value, or a value where it overflows.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "colour/colour_rules.h"
#include "fuzz_support.h"

namespace {

using namespace pigmo;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The grammar of parse_number.h read piece by piece. Returns the number in
// the ASCII form strtod reads ("-12.5e+3"), or nothing when `text` is not a
// number.
std::optional<std::string> Normalised(std::u16string_view text, std::u16string_view sep) {
  // Blanks (U+0020 only) on either side.
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  std::string out;
  if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
    out.push_back(static_cast<char>(text.front()));
    text.remove_prefix(1);
  }
  // Mantissa: digits, at most one separator, at least one digit.
  std::size_t digits = 0;
  bool separator = false;
  while (!text.empty()) {
    if (IsDigit(text.front())) {
      out.push_back(static_cast<char>(text.front()));
      text.remove_prefix(1);
      ++digits;
    } else if (!separator && text.starts_with(sep)) {
      out.push_back('.');
      text.remove_prefix(sep.size());
      separator = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  // Exponent: E or e, a sign, at least one digit; then nothing.
  if (!text.empty()) {
    if (text.front() != u'E' && text.front() != u'e') return std::nullopt;
    out.push_back('e');
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
      out.push_back(static_cast<char>(text.front()));
      text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    for (const char16_t c : text) {
      if (!IsDigit(c)) return std::nullopt;
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

std::string ShowDouble(const double& d) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", d);
  return buf;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto locales = fuzz::MakeLocales({"C", "en_US", "de_DE", "fa_IR"});
  fuzz::Bytes in(data, size);
  const runtime::Locale& locale = locales[in.Byte() % locales.size()];
  const std::u16string text = in.Rest();

  const auto got = fuzz::Run<double>([&] { return colour::ParseNumber(text, locale); });
  const auto report = [&](const std::string& expected) {
    fuzz::Finding("ParseNumber(" + fuzz::Show(text) + ") in " + locale.Name() + " gave " +
                  got.Describe(ShowDouble) + ", expected " + expected);
  };

  const auto normalised = Normalised(text, locale.DecimalSeparator());
  if (!normalised) {
    if (got.ok || got.kind != runtime::ErrorKind::kTypeMismatch) report("type mismatch");
    return 0;
  }
  errno = 0;
  const double want = std::strtod(normalised->c_str(), nullptr);
  if (std::isinf(want)) {
    if (got.ok || got.kind != runtime::ErrorKind::kOverflow) report("overflow");
    return 0;
  }
  if (!got.ok || std::memcmp(&got.value, &want, sizeof want) != 0) report(ShowDouble(want));

  // The bound tests read the same number.
  if (colour::ExceedsBound(text, 255, locale) != (want > 255)) report("ExceedsBound to agree");
  if (colour::IsEdgeValue(text, 0, locale) != (want == 0)) report("IsEdgeValue to agree");
  return 0;
}
