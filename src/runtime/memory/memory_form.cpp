#include "runtime/memory/memory_form.h"

#include <algorithm>

#include "runtime/error.h"

namespace pigmo::runtime::memory {

namespace {

std::int32_t Len(const std::u16string& s) { return static_cast<std::int32_t>(s.size()); }

}  // namespace

MemoryTextBox::MemoryTextBox(std::u16string text, bool read_only, std::int32_t max_length)
    : TextBox(read_only, max_length), text_(std::move(text)) {}

void MemoryTextBox::SetText(std::u16string_view text) {
  const bool changed = text_ != text;
  text_.assign(text);
  sel_start_ = 0;
  sel_len_ = 0;
  undo_.clear();  // a program write ends the user's undo history
  if (changed) RaiseChange();
}

void MemoryTextBox::SetCaret(std::int32_t caret) {
  sel_start_ = PlaceCaret(caret, text_.size());
  sel_len_ = 0;
}

void MemoryTextBox::UserSelect(std::int32_t start, std::int32_t length) {
  start = std::clamp(start, 0, Len(text_));
  sel_start_ = start;
  sel_len_ = std::clamp(length, 0, Len(text_) - start);
}

void MemoryTextBox::UserSelectAll() { UserSelect(0, Len(text_)); }

void MemoryTextBox::UserMoveCaret(std::int32_t caret) { UserSelect(caret, 0); }

std::u16string MemoryTextBox::SelectedText() const {
  return text_.substr(static_cast<size_t>(sel_start_), static_cast<size_t>(sel_len_));
}

void MemoryTextBox::CommitUserEdit(std::u16string text, std::int32_t caret) {
  if (text == text_) {
    sel_start_ = caret;
    sel_len_ = 0;
    return;
  }
  undo_.emplace_back(text_, sel_start_);
  text_ = std::move(text);
  sel_start_ = caret;
  sel_len_ = 0;
  RaiseChange();
}

void MemoryTextBox::UserReplaceSelection(std::u16string_view insert) {
  std::u16string next = text_;
  next.replace(static_cast<size_t>(sel_start_), static_cast<size_t>(sel_len_), insert);
  CommitUserEdit(std::move(next), sel_start_ + static_cast<std::int32_t>(insert.size()));
}

void MemoryTextBox::UserTypeChar(char16_t c) {
  if (ReadOnly()) return;
  if (MaxLength() > 0 && Len(text_) - sel_len_ + 1 > MaxLength()) return;  // refused
  UserReplaceSelection(std::u16string_view(&c, 1));
}

void MemoryTextBox::UserType(std::u16string_view chars) {
  for (char16_t c : chars) UserTypeChar(c);
}

void MemoryTextBox::UserPaste(std::u16string_view clip) {
  if (ReadOnly() || (clip.empty() && sel_len_ == 0)) return;
  if (MaxLength() > 0) {
    const std::int32_t room = std::max(0, MaxLength() - (Len(text_) - sel_len_));
    clip = clip.substr(0, static_cast<size_t>(room));
    if (clip.empty() && sel_len_ == 0) return;
  }
  UserReplaceSelection(clip);
}

void MemoryTextBox::UserBackspace() {
  if (ReadOnly()) return;
  if (sel_len_ == 0) {
    if (sel_start_ == 0) return;
    UserSelect(sel_start_ - 1, 1);
  }
  UserReplaceSelection(u"");
}

void MemoryTextBox::UserDelete() {
  if (ReadOnly()) return;
  if (sel_len_ == 0) {
    if (sel_start_ == Len(text_)) return;
    UserSelect(sel_start_, 1);
  }
  UserReplaceSelection(u"");
}

std::u16string MemoryTextBox::UserCopy() const { return SelectedText(); }

std::u16string MemoryTextBox::UserCut() {
  std::u16string cut = SelectedText();
  if (!ReadOnly() && sel_len_ > 0) UserReplaceSelection(u"");
  return cut;
}

void MemoryTextBox::UserUndo() {
  if (ReadOnly() || undo_.empty()) return;
  auto [text, caret] = std::move(undo_.back());
  undo_.pop_back();
  const bool changed = text != text_;
  text_ = std::move(text);
  sel_start_ = caret;
  sel_len_ = 0;
  if (changed) RaiseChange();
}

MemoryForm::MemoryForm(const FormSpec& description) {
  for (const ControlSpec& c : description.controls) {
    const std::string name(c.name);
    switch (c.kind) {
      case ControlKind::kTextBox:
        boxes_[name] = std::make_shared<MemoryTextBox>(std::u16string(c.text), c.read_only, c.max_length);
        break;
      case ControlKind::kLabel:
        labels_[name] = std::make_unique<MemoryLabel>(std::u16string(c.text), c.back_colour.value_or(0x00F0F0F0u));
        break;
      case ControlKind::kButton:
        buttons_[name] = std::make_unique<MemoryButton>(std::u16string(c.text));
        break;
    }
  }
  for (const ControlSpec* c : InTabOrder(description)) {
    if (c->kind == ControlKind::kLabel) continue;
    first_stop_ = c->name;
    break;
  }
}

std::shared_ptr<TextBox> MemoryForm::TextBoxNamed(std::string_view name) { return ControlNamed(boxes_, name); }

MemoryTextBox& MemoryForm::Box(std::string_view name) { return *ControlNamed(boxes_, name); }

Label& MemoryForm::LabelNamed(std::string_view name) { return *ControlNamed(labels_, name); }

Button& MemoryForm::ButtonNamed(std::string_view name) { return ButtonControl(name); }

MemoryButton& MemoryForm::ButtonControl(std::string_view name) { return *ControlNamed(buttons_, name); }

void MemoryForm::ShowInfo(std::u16string_view text, std::u16string_view title) {
  messages_.push_back({std::u16string(text), std::u16string(title), MessageIcon::kInformation, {u"OK"}});
}

void MemoryForm::Show() {
  shown_ = true;
  // A box that takes the focus from the keyboard selects its whole text, as
  // the real toolkits' do.
  if (auto it = boxes_.find(first_stop_); it != boxes_.end()) it->second->UserSelectAll();
}

}  // namespace pigmo::runtime::memory
