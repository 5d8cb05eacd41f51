// InstrPrev against the oracle's version and what any answer must satisfy.
// Input: byte 0 bits 0-1 the locale, bits 2-3 the length of sMatch (0..3
// units), bits 4-5 how LastPos is read from bytes 1-2 (modulo length + 3 | as
// is | negated | modulo length + 3); then sMatch, then the text.
#include "fuzz_support.h"
#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"

using namespace pigmo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Bytes in{data, size};
  const std::uint8_t mode = in.Byte();
  const std::uint16_t field = in.U16();
  const std::u16string match = in.Units((mode >> 2) & 3), text = in.Units();
  const runtime::Locale& locale = fuzz::Locale(mode & 3);
  const int how = (mode >> 4) & 3;
  const std::int32_t last = how == 1 ? field : how == 2 ? -1 - field : static_cast<std::int32_t>(field % (text.size() + 3));
  const std::string call = "InstrPrev(" + fuzz::Show(text) + ", " + fuzz::Show(match) + ", " + fuzz::Show(last) + ") in " + locale.Name();
  const std::string got = fuzz::Outcome([&] { return restriction::InstrPrev(text, match, last, locale); });
  fuzz::Expect(got, fuzz::Outcome([&] { return restriction::oracle::InstrPrev(text, match, last, locale); }), call + " (oracle)");
  if (last < 0 || got.starts_with("error")) {
    return fuzz::Expect(got, last < 0 ? fuzz::Show(runtime::ErrorKind::kInvalidArgument) : "a position", call), 0;
  }
  const std::int32_t p = std::stoi(got), m = static_cast<std::int32_t>(match.size()), limit = std::min<std::int32_t>(last, text.size());
  const auto occurs = [&](std::int32_t q) { return locale.TextEquals(std::u16string_view(text).substr(q - 1, m), match); };
  if (p != 0 && (m == 0 || p < 1 || p - 1 + m > limit)) fuzz::Expect(fuzz::Show(p), "0 or a start within the prefix", call);
  // The answer (when not 0) and every later start whose occurrence would fit.
  for (std::int32_t q = p; p != 0 && q - 1 + m <= limit; ++q) {
    if (occurs(q) != (q == p)) fuzz::Expect(fuzz::Show(q), q == p ? "an occurrence" : "no later occurrence", call);
  }
  return 0;
}
