// InstrPrev against the oracle's version, and what any answer must satisfy
// on its own: 0, or a real occurrence lying wholly within the first LastPos
// units with no later such occurrence; a negative LastPos fails with invalid
// argument.
//
// Input: byte 0 bits 0-1 pick the locale (C, en_US, de_DE, fa_IR), bits 2-3
// the length of sMatch (0..3 code units), bits 4-5 how LastPos is read from
// bytes 1-2 (modulo length + 3 | as is | negated | modulo length + 3); then
// sMatch, then the text, as UTF-16LE code units.
#include "fuzz_support.h"
#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"

using namespace pigmo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto locales = fuzz::MakeLocales({"C", "en_US", "de_DE", "fa_IR"});
  fuzz::Bytes in{data, size};
  const std::uint8_t mode = in.Byte();
  const runtime::Locale& locale = locales[mode & 3];
  const std::uint16_t field = in.U16();
  const std::u16string match = in.Units((mode >> 2) & 3);
  const std::u16string text = in.Units();
  const int how = (mode >> 4) & 3;
  const std::int32_t last = how == 1 ? field : how == 2 ? -1 - field : static_cast<std::int32_t>(field % (text.size() + 3));

  const auto got = fuzz::Run<std::int32_t>([&] { return restriction::InstrPrev(text, match, last, locale); });
  const auto want = fuzz::Run<std::int32_t>([&] { return restriction::oracle::InstrPrev(text, match, last, locale); });
  const auto report = [&](const std::string& why) {
    const auto show = [](std::int32_t p) { return std::to_string(p); };
    fuzz::Finding("InstrPrev(" + fuzz::Show(text) + ", " + fuzz::Show(match) + ", " + std::to_string(last) + ") in " +
                  locale.Name() + " gave " + fuzz::Describe(got, show) + ", the oracle " + fuzz::Describe(want, show) +
                  ": " + why);
  };
  if (got != want) report("they differ");
  if (last < 0) {
    if (got != decltype(got)(runtime::ErrorKind::kInvalidArgument)) report("a negative LastPos must fail");
    return 0;
  }
  const std::int32_t* p = std::get_if<std::int32_t>(&got);
  if (p == nullptr) report("only a negative LastPos fails");
  const auto m = static_cast<std::int32_t>(match.size());
  const auto limit = std::min<std::int32_t>(last, static_cast<std::int32_t>(text.size()));
  const auto occurs = [&](std::int32_t q) {
    return locale.TextEquals(std::u16string_view(text).substr(static_cast<std::size_t>(q - 1), match.size()), match);
  };
  if (*p == 0) return 0;
  if (m == 0 || *p < 1 || *p - 1 + m > limit || !occurs(*p)) report("no occurrence there within the prefix");
  for (std::int32_t q = *p + 1; q - 1 + m <= limit; ++q) {
    if (occurs(q)) report("a later occurrence at " + std::to_string(q));
  }
  return 0;
}
