// CleanText against the step-by-step oracle: any difference in the cleaned
// text, the caret or the kind of error is a finding.
//
// Input:
//   byte 0  bits 0-1: delimiter: "." | "^" | "," | one code unit read from
//                     the input (bytes after the caret field)
//           bits 2-3: allowed set: digits + delimiter (as the binding builds
//                     it) | digits only (the binding's "^" fallback) |
//                     up to 8 code units read from the input | digits +
//                     delimiter
//           bits 4-5: locale: C | en_US | de_DE | fa_IR
//           bit 6:    caret taken literally (0..65535) instead of modulo
//                     (length + 2), to reach the 16-bit scan limit
//   bytes 1-2: caret, little-endian
//   then the fuzzed delimiter / allowed set when chosen, then the text as
//   UTF-16LE code units.
//
// Built with PIGMO_FUZZ_LONG_TEXT, the text is put behind a run of "0"
// about 32,766 long (the byte after the fields above sets its length within
// 128 either side), and the caret lands near the end of that run: the region
// where the 16-bit scan index overflows. The oracle is slow there, so this
// variant runs far fewer inputs a second.
#include <string>

#include "fuzz_support.h"
#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"

namespace {

using namespace pigmo;

std::string ShowCleaned(const restriction::Cleaned& c) {
  return "{" + fuzz::Show(c.text) + ", caret " + std::to_string(c.caret) + "}";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto locales = fuzz::MakeLocales({"C", "en_US", "de_DE", "fa_IR"});
  fuzz::Bytes in(data, size);
  const std::uint8_t mode = in.Byte();
  const std::uint16_t caret_field = in.U16();

  std::u16string delimiter;
  switch (mode & 3) {
    case 0: delimiter = u"."; break;
    case 1: delimiter = u"^"; break;
    case 2: delimiter = u","; break;
    default: delimiter = in.Units(1); break;
  }
  if (delimiter.empty()) delimiter = u".";

  std::u16string allowed = u"0123456789";
  switch ((mode >> 2) & 3) {
    case 1: break;
    case 2: allowed = in.Units(in.Byte() % 9); break;
    default: allowed += delimiter; break;
  }
  const runtime::Locale& locale = locales[(mode >> 4) & 3];

  std::u16string text;
  std::int32_t caret = 0;
#ifdef PIGMO_FUZZ_LONG_TEXT
  // 32,766 - 128 .. 32,766 + 127 filler units, then the fuzzed text.
  const std::size_t filler = 32766 - 128 + in.Byte();
  text.assign(filler, u'0');
  text += in.Rest();
  caret = static_cast<std::int32_t>(filler) - 128 + static_cast<std::int32_t>(caret_field % 512);
  if (caret < 0) caret = 0;
#else
  text = in.Rest();
  caret = (mode & 0x40) != 0 ? caret_field
                             : static_cast<std::int32_t>(caret_field % (text.size() + 2));
#endif

  const auto got = fuzz::Run<restriction::Cleaned>(
      [&] { return restriction::CleanText(text, caret, allowed, delimiter, locale); });
  const auto want = fuzz::Run<restriction::Cleaned>(
      [&] { return restriction::oracle::CleanText(text, caret, allowed, delimiter, locale); });
  if (!(got == want)) {
    fuzz::Finding("CleanText(" + fuzz::Show(text) + ", " + std::to_string(caret) + ", " + fuzz::Show(allowed) +
                  ", " + fuzz::Show(delimiter) + ") in " + locale.Name() + " gave " +
                  got.Describe(ShowCleaned) + ", the oracle " + want.Describe(ShowCleaned));
  }
  return 0;
}
