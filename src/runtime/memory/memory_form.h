// The in-memory backend: no toolkit, fully deterministic. Its text boxes
// carry a simulated user (typing at the caret, selecting, pasting,
// deleting, undo) that keeps the read-only and length rules exactly as a
// real edit control does, so the whole event flow can be tested quickly.
//
// Of the description it honours each control's name, kind, text, read_only,
// max_length, tab_index (the keyboard focus walks the tab stops) and a
// label's back colour; it ignores everything that is only seen: the form's
// frame, caption, size and font, and each control's bounds, fore colour,
// uses_font, caption_of and accessible name and description.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "runtime/form.h"
#include "runtime/form_spec.h"

namespace pigmo::runtime::memory {

class MemoryTextBox final : public TextBox {
 public:
  MemoryTextBox(std::u16string text, bool read_only, std::int32_t max_length);

  std::u16string Text() const override { return text_; }
  void SetText(std::u16string_view text) override;
  std::int32_t Caret() const override { return sel_start_; }
  void SetCaret(std::int32_t caret) override;

  // The simulated user. Each call is one edit and raises at most one
  // change event; a refused edit (read-only box, length limit) raises none.
  void UserSelect(std::int32_t start, std::int32_t length);
  void UserSelectAll();
  void UserMoveCaret(std::int32_t caret);  // what a click or arrow key does
  void UserTypeChar(char16_t c);
  void UserType(std::u16string_view chars);  // one keystroke per character
  void UserPaste(std::u16string_view clip);  // cut to the length limit
  void UserBackspace();
  void UserDelete();
  std::u16string UserCopy() const;
  std::u16string UserCut();
  void UserUndo();

  std::int32_t SelectionLength() const { return sel_len_; }
  std::u16string SelectedText() const;

 private:
  // Replaces the selection with `insert` as the user would and leaves the
  // caret after the inserted text.
  void UserReplaceSelection(std::u16string_view insert);
  void CommitUserEdit(std::u16string text, std::int32_t caret);

  std::u16string text_;
  std::int32_t sel_start_ = 0;
  std::int32_t sel_len_ = 0;
  std::vector<std::pair<std::u16string, std::int32_t>> undo_;
};

class MemoryLabel final : public Label {
 public:
  MemoryLabel(std::u16string caption, Colour back) : caption_(std::move(caption)), back_(back) {}
  std::u16string Caption() const override { return caption_; }
  Colour BackColour() const override { return back_; }
  void SetBackColour(Colour colour) override { back_ = colour & 0x00FFFFFFu; }

 private:
  std::u16string caption_;
  Colour back_;
};

class MemoryButton final : public Button {
 public:
  explicit MemoryButton(std::u16string caption) : caption_(std::move(caption)) {}
  std::u16string Caption() const override { return caption_; }
  void Click() { RaiseClick(); }

 private:
  std::u16string caption_;
};

enum class MessageIcon { kNone, kInformation };

// A message box as this backend would have drawn it.
struct ShownMessage {
  std::u16string text;
  std::u16string title;
  MessageIcon icon = MessageIcon::kNone;
  std::vector<std::u16string> buttons;  // captions, left to right
};

class MemoryForm final : public Form {
 public:
  explicit MemoryForm(const FormSpec& description);

  std::shared_ptr<TextBox> TextBoxNamed(std::string_view name) override;
  Label& LabelNamed(std::string_view name) override;
  Button& ButtonNamed(std::string_view name) override;
  void ShowInfo(std::u16string_view text, std::u16string_view title) override;
  void Show() override;

  MemoryTextBox& Box(std::string_view name);
  MemoryButton& ButtonControl(std::string_view name);
  bool Shown() const { return shown_; }
  // Message boxes shown so far; each counts as closed with OK at once.
  const std::vector<ShownMessage>& Messages() const { return messages_; }

 private:
  std::map<std::string, std::shared_ptr<MemoryTextBox>, std::less<>> boxes_;
  std::map<std::string, std::unique_ptr<MemoryLabel>, std::less<>> labels_;
  std::map<std::string, std::unique_ptr<MemoryButton>, std::less<>> buttons_;
  std::string first_stop_;  // takes the focus at the start
  std::vector<ShownMessage> messages_;
  bool shown_ = false;
};

}  // namespace pigmo::runtime::memory
