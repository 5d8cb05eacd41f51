// A Form1 on the in-memory backend, for tests of the whole event flow.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "runtime/dispatch.h"
#include "runtime/locale.h"
#include "runtime/memory/memory_form.h"
#include "window/form1.h"
#include "window/form1_description.h"

namespace pigmo::window::testing {

class MemoryForm1 {
 public:
  explicit MemoryForm1(const char* locale_name)
      : locale(runtime::Locale::Named(locale_name)),
        form(Form1Description()),
        handlers(form, locale) {
    runtime::UnhandledErrors().Clear();
    form.Show();
  }

  runtime::memory::MemoryTextBox& Box(std::string_view name) { return form.Box(name); }
  std::u16string Text(std::string_view name) { return form.Box(name).Text(); }
  runtime::Colour Swatch() { return form.LabelNamed("Label4").BackColour(); }

  // What a user does to replace a box's whole text: select all, then type
  // one key at a time.
  void Retype(std::string_view name, std::u16string_view keys) {
    Box(name).UserSelectAll();
    Box(name).UserType(keys);
  }
  // Select all and paste: one edit.
  void PasteOver(std::string_view name, std::u16string_view clip) {
    Box(name).UserSelectAll();
    Box(name).UserPaste(clip);
  }

  runtime::Locale locale;
  runtime::memory::MemoryForm form;
  Form1 handlers;
};

}  // namespace pigmo::window::testing
