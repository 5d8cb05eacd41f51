// ParseNumber against a plain reading of the number grammar and the C
// library's correctly rounded strtod: the same acceptance, the same double
// bit for bit (minus zero included), overflow exactly where strtod
// overflows; ExceedsBound and IsEdgeValue read the same number.
//
// Input: byte 0 picks the locale (C, en_US, de_DE, fa_IR); the rest is the
// text as UTF-16LE code units.
#include <cmath>
#include <cstring>
#include <optional>

#include "colour/colour_rules.h"
#include "fuzz_support.h"

namespace {

using namespace pigmo;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Moves one leading unit of `text` to `out` when `accept` takes it.
template <typename Accept>
bool Take(std::u16string_view& text, std::string& out, Accept&& accept) {
  if (text.empty() || !accept(text.front())) return false;
  out.push_back(static_cast<char>(text.front()));
  text.remove_prefix(1);
  return true;
}

// The grammar of parse_number.h piece by piece: the number in the ASCII form
// strtod reads ("-12.5e+3"), or nothing when `text` is not one.
std::optional<std::string> Normalised(std::u16string_view text, std::u16string_view sep) {
  const auto sign = [](char16_t c) { return c == u'+' || c == u'-'; };
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  std::string out;
  Take(text, out, sign);
  std::size_t digits = 0;
  for (bool separator = false;;) {
    if (Take(text, out, IsDigit)) {
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
  if (text.empty()) return out;
  if (!Take(text, out, [](char16_t c) { return c == u'E' || c == u'e'; })) return std::nullopt;
  Take(text, out, sign);
  if (!Take(text, out, IsDigit)) return std::nullopt;
  while (Take(text, out, IsDigit)) {
  }
  return text.empty() ? std::optional(out) : std::nullopt;
}

std::string ShowDouble(const double& d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", d);
  return buf;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto locales = fuzz::MakeLocales({"C", "en_US", "de_DE", "fa_IR"});
  fuzz::Bytes in{data, size};
  const runtime::Locale& locale = locales[in.Byte() % locales.size()];
  const std::u16string text = in.Units();

  const auto got = fuzz::Run<double>([&] { return colour::ParseNumber(text, locale); });
  const auto report = [&](const std::string& expected) {
    fuzz::Finding("ParseNumber(" + fuzz::Show(text) + ") in " + locale.Name() + " gave " +
                  fuzz::Describe(got, ShowDouble) + ", expected " + expected);
  };
  const auto normalised = Normalised(text, locale.DecimalSeparator());
  const double want = normalised ? std::strtod(normalised->c_str(), nullptr) : 0;
  if (!normalised || std::isinf(want)) {
    const auto kind = normalised ? runtime::ErrorKind::kOverflow : runtime::ErrorKind::kTypeMismatch;
    if (got != fuzz::Outcome<double>(kind)) report(runtime::ErrorKindName(kind));
    return 0;
  }
  const double* value = std::get_if<double>(&got);
  if (value == nullptr || std::memcmp(value, &want, sizeof want) != 0) report(ShowDouble(want));
  if (colour::ExceedsBound(text, 255, locale) != (want > 255)) report("ExceedsBound to agree");
  if (colour::IsEdgeValue(text, 0, locale) != (want == 0)) report("IsEdgeValue to agree");
  return 0;
}
