// A handler step suppresses the conversion errors only: a platform failure
// ends the handler and reaches the event dispatch.
#include <gtest/gtest.h>

#include "runtime/dispatch.h"
#include "runtime/memory/memory_form.h"
#include "window/form1.h"
#include "window/form1_description.h"

namespace pigmo::window {
namespace {

using runtime::ErrorKind;

// Form1's window on the memory backend, with a swatch that fails to paint.
class FailingSwatchForm final : public runtime::Form {
 public:
  explicit FailingSwatchForm(ErrorKind kind) : swatch_(kind) {}
  std::shared_ptr<runtime::TextBox> TextBoxNamed(std::string_view name) override {
    return memory.TextBoxNamed(name);
  }
  runtime::Label& LabelNamed(std::string_view name) override {
    return name == "Label4" ? swatch_ : memory.LabelNamed(name);
  }
  runtime::Button& ButtonNamed(std::string_view name) override { return memory.ButtonNamed(name); }
  void ShowInfo(std::u16string_view text, std::u16string_view title) override { memory.ShowInfo(text, title); }
  void Show() override { memory.Show(); }

  runtime::memory::MemoryForm memory{Form1Description()};

 private:
  struct Swatch final : runtime::Label {
    explicit Swatch(ErrorKind kind) : kind(kind) {}
    std::u16string Caption() const override { return u""; }
    runtime::Colour BackColour() const override { return 0; }
    void SetBackColour(runtime::Colour) override { runtime::Raise(kind, "cannot paint the swatch"); }
    ErrorKind kind;
  } swatch_;
};

TEST(Form1PlatformErrorTest, OnlyConversionErrorsAreSuppressedByAHandlerStep) {
  for (const ErrorKind kind : {ErrorKind::kOverflow, ErrorKind::kPlatform}) {
    SCOPED_TRACE(runtime::ErrorKindName(kind));
    FailingSwatchForm form(kind);
    Form1 handlers(form, runtime::Locale::Named("en_US"));
    runtime::UnhandledErrors().Clear();
    form.memory.Box("Text1").UserSelectAll();
    form.memory.Box("Text1").UserType(u"0");
    // The colour array text is the step after the swatch.
    const bool suppressed = runtime::IsConversionError(kind);
    EXPECT_EQ(form.memory.Box("Text7").Text(), suppressed ? u"[0,1,1,1]" : u"[1,1,1,1]");
    ASSERT_EQ(runtime::UnhandledErrors().Count(), suppressed ? 0u : 1u);
    if (!suppressed) {
      EXPECT_EQ(runtime::UnhandledErrors().Last()->kind(), kind);
    }
  }
  runtime::UnhandledErrors().Clear();
}

}  // namespace
}  // namespace pigmo::window
