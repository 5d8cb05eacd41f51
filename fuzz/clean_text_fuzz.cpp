// CleanText against the step-by-step oracle. Input: byte 0 bits 0-1 the
// delimiter ("." | "^" | "," | a unit from the input), bits 2-3 the allowed set
// (digits + delimiter as the binding builds it | digits only, the "^" fallback
// | up to 8 units from the input, after a length byte | digits + delimiter),
// bits 4-5 the locale, bit 6 the caret taken as is (up to the 16-bit scan
// limit), not modulo length + 2; bytes 1-2 the caret; the chosen delimiter and
// set; then the text. Built with PIGMO_FUZZ_LONG_TEXT, the text goes behind a
// run of about 32,766 "0" (the next byte moves it by up to 128 either way) and
// the caret lands near its end, where the scan index overflows.
#include "fuzz_support.h"
#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"

namespace pigmo::restriction {
std::string Show(const Cleaned& c) { return fuzz::Show(c.text) + " caret " + std::to_string(c.caret); }
}  // namespace pigmo::restriction
using namespace pigmo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Bytes in{data, size};
  const std::uint8_t mode = in.Byte();
  const std::uint16_t field = in.U16();
  std::u16string delimiter = (mode & 3) < 3 ? std::u16string(1, u".^,"[mode & 3]) : in.Units(1);
  if (delimiter.empty()) delimiter = u".";
  const int sets = (mode >> 2) & 3;
  const std::u16string allowed = sets == 2 ? in.Units(in.Byte() % 9) : u"0123456789" + (sets == 1 ? u"" : delimiter);
  const runtime::Locale& locale = fuzz::Locale((mode >> 4) & 3);
#ifdef PIGMO_FUZZ_LONG_TEXT
  const std::size_t filler = 32766 - 128 + in.Byte();
  const std::u16string text = std::u16string(filler, u'0') + in.Units();
  const std::int32_t caret = std::max<std::int32_t>(0, static_cast<std::int32_t>(filler) - 128 + field % 512);
#else
  const std::u16string text = in.Units();
  const std::int32_t caret = mode & 0x40 ? field : static_cast<std::int32_t>(field % (text.size() + 2));
#endif
  fuzz::Expect(fuzz::Outcome([&] { return restriction::CleanText(text, caret, allowed, delimiter, locale); }),
               fuzz::Outcome([&] { return restriction::oracle::CleanText(text, caret, allowed, delimiter, locale); }),
               "CleanText(" + fuzz::Show(text) + ", " + fuzz::Show(caret) + ", " + fuzz::Show(allowed) + ", " +
                   fuzz::Show(delimiter) + ") in " + locale.Name());
  return 0;
}
