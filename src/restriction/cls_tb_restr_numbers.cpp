#include "restriction/cls_tb_restr_numbers.h"

#include "restriction/clean_text.h"
#include "runtime/error.h"

namespace pigmo::restriction {

clsTBRestrNumbers::clsTBRestrNumbers(runtime::Locale locale) : locale_(std::move(locale)) {}

void clsTBRestrNumbers::Init(std::shared_ptr<runtime::TextBox> TB, std::u16string_view sAllowed,
                             std::u16string_view sDelimiter) {
  if (!TB) runtime::Raise(runtime::ErrorKind::kInvalidArgument, "Init needs a text box");
  msAllowed = std::u16string(sAllowed) + std::u16string(sDelimiter);
  msDelimiter = locale_.TextEquals(sDelimiter, u"") ? std::u16string(u"^") : std::u16string(sDelimiter);
  // With the caret at the end the whole text is cleaned.
  TB->SetCaret(static_cast<std::int32_t>(TB->Text().size()));
  // The binding stays in place during this clean: when TB is the box already
  // bound, the write-back runs OnBoundChange nested, which is harmless.
  FilterText(TB);
  mTB = TB;
  set_txtTmpTB(TB);
}

std::int32_t clsTBRestrNumbers::InstrPrev(std::u16string_view Text, std::u16string_view sMatch,
                                          std::int32_t LastPos) const {
  return restriction::InstrPrev(Text, sMatch, LastPos, locale_);
}

void clsTBRestrNumbers::FilterText(const std::shared_ptr<runtime::TextBox>& box) {
  const std::shared_ptr<runtime::TextBox> hold = box;  // keeps the box alive while we write it
  const std::int32_t caret = hold->Caret();
  const std::u16string text = hold->Text();
  const Cleaned cleaned = CleanText(text, caret, msAllowed, msDelimiter, locale_);
  // Both writes happen every time. Other listeners run inside the text
  // write and may shorten the text; the caret write then lands at the end.
  hold->SetText(cleaned.text);
  hold->SetCaret(cleaned.caret);
}

void clsTBRestrNumbers::OnBoundChange() {
  // Not listening while we write back is what keeps this handler from
  // calling itself without end. If the clean fails, we stay released.
  set_txtTmpTB(nullptr);
  const std::shared_ptr<runtime::TextBox> box = mTB;
  FilterText(box);
  set_txtTmpTB(mTB);
}

void clsTBRestrNumbers::set_txtTmpTB(std::shared_ptr<runtime::TextBox> box) {
  txtTmpTB_change_.Reset();
  txtTmpTB = std::move(box);
  if (txtTmpTB) txtTmpTB_change_ = txtTmpTB->OnChange([this] { OnBoundChange(); });
}

}  // namespace pigmo::restriction
