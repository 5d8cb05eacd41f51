// InstrPrev against the oracle's literal version, plus what any answer must
// satisfy on its own: 0, or a position whose occurrence lies wholly within
// the first LastPos units, with no later such occurrence.
//
// Input: byte 0 bits 0-1 pick the locale (C, en_US, de_DE, fa_IR), bits
// 2-3 the length of sMatch (0..3 code units; 0 asks for the empty match),
// bits 4-5 how LastPos is read from bytes 1-2 (modulo length + 3 | as is |
// negated, which must fail with invalid argument | modulo length + 3);
// then sMatch, then the text, as UTF-16LE code units.
#include <string>

#include "fuzz_support.h"
#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"

namespace {

std::string ShowPosition(const std::int32_t& p) { return std::to_string(p); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pigmo;
  static const auto locales = fuzz::MakeLocales({"C", "en_US", "de_DE", "fa_IR"});
  fuzz::Bytes in(data, size);
  const std::uint8_t mode = in.Byte();
  const runtime::Locale& locale = locales[mode & 3];
  const std::size_t match_length = (mode >> 2) & 3;
  const std::uint16_t last_field = in.U16();
  const std::u16string match = in.Units(match_length);
  const std::u16string text = in.Rest();

  std::int32_t last = 0;
  switch ((mode >> 4) & 3) {
    case 1: last = last_field; break;
    case 2: last = -1 - static_cast<std::int32_t>(last_field); break;
    default: last = static_cast<std::int32_t>(last_field % (text.size() + 3)); break;
  }

  const auto got = fuzz::Run<std::int32_t>([&] { return restriction::InstrPrev(text, match, last, locale); });
  const auto want =
      fuzz::Run<std::int32_t>([&] { return restriction::oracle::InstrPrev(text, match, last, locale); });
  const auto report = [&](const std::string& why) {
    fuzz::Finding("InstrPrev(" + fuzz::Show(text) + ", " + fuzz::Show(match) + ", " + std::to_string(last) +
                  ") in " + locale.Name() + " gave " + got.Describe(ShowPosition) + ", the oracle " +
                  want.Describe(ShowPosition) + ": " + why);
  };
  if (!(got == want)) report("they differ");
  if (last < 0) {
    if (got.ok || got.kind != runtime::ErrorKind::kInvalidArgument) report("a negative LastPos must fail");
    return 0;
  }
  if (!got.ok) report("only a negative LastPos fails");
  const std::int32_t p = got.value;
  if (p == 0) return 0;
  const auto m = static_cast<std::int32_t>(match.size());
  const std::int32_t limit = std::min<std::int32_t>(last, static_cast<std::int32_t>(text.size()));
  if (m == 0 || p < 1 || p - 1 + m > limit) report("position outside the prefix");
  if (!locale.TextEquals(std::u16string_view(text).substr(static_cast<std::size_t>(p - 1), match.size()), match)) {
    report("no occurrence there");
  }
  for (std::int32_t q = p + 1; q - 1 + m <= limit; ++q) {
    if (locale.TextEquals(std::u16string_view(text).substr(static_cast<std::size_t>(q - 1), match.size()), match)) {
      report("a later occurrence at " + std::to_string(q));
    }
  }
  return 0;
}
