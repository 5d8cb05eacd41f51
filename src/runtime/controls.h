// The controls every window toolkit backend provides: text box, label and
// push button, with the behaviour the window's handlers rely on.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "runtime/colour.h"
#include "runtime/event.h"

namespace pigmo::runtime {

// A single-line text box.
//
// Text is UTF-16, compared code unit for code unit. The caret is the number
// of code units before it (before the selection, when there is one).
//
// The change event is raised synchronously inside every write that changes
// the text, by the program (SetText) or by the user (typing, paste, cut,
// delete, backspace, undo, redo, drag and drop: once per actual change), and
// never for a write of the same text. When the user changes the text, the
// caret already stands where the edit left it when the event is raised.
//
// The read-only flag and the length limit bind the user only: SetText
// always stores the whole text.
class TextBox {
 public:
  virtual ~TextBox() = default;

  virtual std::u16string Text() const = 0;
  // Stores `text`; when it differs from the current text, raises the change
  // event before returning. Afterwards the caret stands at 0.
  virtual void SetText(std::u16string_view text) = 0;

  virtual std::int32_t Caret() const = 0;
  // Places the caret and clears any selection. A value beyond the end puts
  // the caret at the end; a negative value is an invalid-argument Error.
  virtual void SetCaret(std::int32_t caret) = 0;

  bool ReadOnly() const { return read_only_; }
  // The most code units the user may type or paste; 0 means no limit.
  std::int32_t MaxLength() const { return max_length_; }

  [[nodiscard]] Subscription OnChange(std::function<void()> listener) {
    return changed_.Subscribe(std::move(listener));
  }

 protected:
  TextBox(bool read_only, std::int32_t max_length) : read_only_(read_only), max_length_(max_length) {}
  void RaiseChange() { changed_.Raise(); }

 private:
  friend struct pigmo::TestProbe;
  Event changed_;
  bool read_only_;
  std::int32_t max_length_;
};

class Label {
 public:
  virtual ~Label() = default;
  virtual std::u16string Caption() const = 0;
  virtual Colour BackColour() const = 0;
  virtual void SetBackColour(Colour colour) = 0;
};

class Button {
 public:
  virtual ~Button() = default;
  virtual std::u16string Caption() const = 0;

  [[nodiscard]] Subscription OnClick(std::function<void()> listener) { return clicked_.Subscribe(std::move(listener)); }

 protected:
  void RaiseClick() { clicked_.Raise(); }

 private:
  Event clicked_;
};

// Validates a caret written by the program and returns where it lands in a
// text of `length` code units. Shared by every backend.
std::int32_t PlaceCaret(std::int32_t caret, std::size_t length);

}  // namespace pigmo::runtime
