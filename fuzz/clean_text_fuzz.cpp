// CleanText against the step-by-step oracle: any difference in the cleaned
// text, the caret or the kind of error is a finding.
//
// Input:
//   byte 0  bits 0-1: delimiter "." | "^" | "," | one code unit from the input
//           bits 2-3: allowed set digits + delimiter (as the binding builds
//                     it) | digits only (the "^" fallback) | up to 8 code
//                     units from the input | digits + delimiter
//           bits 4-5: locale C | en_US | de_DE | fa_IR
//           bit 6:    caret taken literally (0..65535) instead of modulo
//                     (length + 2), to reach the 16-bit scan limit
//   bytes 1-2: caret, little-endian; then the fuzzed delimiter and allowed
//   set when chosen (a length byte, then the units), then the text.
// Built with PIGMO_FUZZ_LONG_TEXT, the text goes behind a run of "0" about
// 32,766 long (the next byte moves it by up to 128 either way) and the caret
// lands near the end of that run, where the scan index overflows.
#include "fuzz_support.h"
#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"

using namespace pigmo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto locales = fuzz::MakeLocales({"C", "en_US", "de_DE", "fa_IR"});
  fuzz::Bytes in{data, size};
  const std::uint8_t mode = in.Byte();
  const std::uint16_t caret_field = in.U16();
  std::u16string delimiter = (mode & 3) == 0 ? u"." : (mode & 3) == 1 ? u"^" : (mode & 3) == 2 ? u"," : in.Units(1);
  if (delimiter.empty()) delimiter = u".";
  std::u16string allowed = u"0123456789";
  if (const int sets = (mode >> 2) & 3; sets == 2) {
    allowed = in.Units(in.Byte() % 9);
  } else if (sets != 1) {
    allowed += delimiter;
  }
  const runtime::Locale& locale = locales[(mode >> 4) & 3];
#ifdef PIGMO_FUZZ_LONG_TEXT
  const std::size_t filler = 32766 - 128 + in.Byte();
  const std::u16string text = std::u16string(filler, u'0') + in.Units();
  const std::int32_t caret = std::max<std::int32_t>(0, static_cast<std::int32_t>(filler) - 128 + caret_field % 512);
#else
  const std::u16string text = in.Units();
  const std::int32_t caret = (mode & 0x40) != 0 ? caret_field : static_cast<std::int32_t>(caret_field % (text.size() + 2));
#endif
  using Outcome = fuzz::Outcome<restriction::Cleaned>;
  const Outcome got = fuzz::Run<restriction::Cleaned>([&] { return restriction::CleanText(text, caret, allowed, delimiter, locale); });
  const Outcome want = fuzz::Run<restriction::Cleaned>(
      [&] { return restriction::oracle::CleanText(text, caret, allowed, delimiter, locale); });
  if (got != want) {
    const auto show = [](const restriction::Cleaned& c) { return fuzz::Show(c.text) + " caret " + std::to_string(c.caret); };
    fuzz::Finding("CleanText(" + fuzz::Show(text) + ", " + std::to_string(caret) + ", " + fuzz::Show(allowed) + ", " +
                  fuzz::Show(delimiter) + ") in " + locale.Name() + " gave " + fuzz::Describe(got, show) +
                  ", the oracle " + fuzz::Describe(want, show));
  }
  return 0;
}
