#include "window/form1.h"

#include <optional>

#include "colour/colour_rules.h"
#include "runtime/error.h"
#include "window/form1_description.h"

namespace pigmo::window {

namespace {

constexpr std::u16string_view kAllowedDigits = u"0123456789";
constexpr std::u16string_view kFractionDelimiter = u".";

// Runs one handler step with conversion errors suppressed: such a failure
// drops the rest of the step and the handler goes on with the next one.
// Anything else (a platform failure, a foreign exception) ends the handler.
template <typename Step>
void Suppressed(Step&& step) {
  try {
    step();
  } catch (const runtime::Error& error) {
    if (!runtime::IsConversionError(error.kind())) throw;
  }
}

// IsEdgeValue, or nothing when the input does not hold a number (the
// fraction box is then left alone rather than failing).
std::optional<bool> TryIsEdgeValue(std::u16string_view text, double value, const runtime::Locale& locale) {
  std::optional<bool> edge;
  Suppressed([&] { edge = colour::IsEdgeValue(text, value, locale); });
  return edge;
}

}  // namespace

const std::vector<InputRow>& Form1::Rows() {
  static const std::vector<InputRow> rows = {
      {"Text1", "Text4", 255, u"255", u"0.0000", true, false},
      {"Text2", "Text5", 255, u"255", u"0.0000", true, true},
      {"Text3", "Text6", 255, u"255", u"0.0000", true, true},
      {"Text8", "Text9", 100, u"100", u"0.00", false, true},
  };
  return rows;
}

Form1::Form1(runtime::Form& form, runtime::Locale locale) : form_(form), locale_(std::move(locale)) {
  for (const InputRow& row : Rows()) {
    subscriptions_.push_back(Box(row.input)->OnChange([this, &row] { InputChanged(row); }));
    subscriptions_.push_back(Box(row.fraction)->OnChange([this, &row] { FractionChanged(row); }));
  }
  subscriptions_.push_back(form_.ButtonNamed("Command1").OnClick([this] { Command1_Click(); }));
}

Form1::~Form1() {
  // Stop listening before the restriction object goes.
  subscriptions_.clear();
  cRestrict.reset();
}

std::shared_ptr<runtime::TextBox> Form1::Box(std::string_view name) const { return form_.TextBoxNamed(name); }

std::u16string Form1::FractionForBox(std::u16string_view input, const InputRow& row) const {
  const std::u16string text = colour::FractionText(input, row.bound, row.pattern, locale_);
  // The game reads "." only. A point or comma locale keeps its separator
  // here and the restriction object turns a comma into "."; any other
  // separator (U+066B in Persian and Arabic locales) would survive into the
  // colour array text, and the next re-binding would strip it from the box,
  // changing the value. Those locales get the "." straight away.
  const std::u16string& separator = locale_.DecimalSeparator();
  if (separator == u"." || separator == u"," || separator.empty()) return text;
  std::u16string written;
  written.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, separator.size(), separator) == 0) {
      written += kFractionDelimiter;
      i += separator.size();
    } else {
      written += text[i++];
    }
  }
  return written;
}

void Form1::InputChanged(const InputRow& row) {
  const auto input = Box(row.input);
  const auto fraction = Box(row.fraction);

  // 1. Bind the restriction object to this row's fraction box. For red, a
  //    failure here ends the handler and goes to the event dispatch.
  const auto bind = [&] {
    if (!cRestrict) cRestrict = std::make_unique<restriction::clsTBRestrNumbers>(locale_);
    cRestrict->Init(fraction, kAllowedDigits, kFractionDelimiter);
  };
  if (row.suppresses_binding_errors) {
    Suppressed(bind);
  } else {
    bind();
  }

  // 2. An empty input reads as 0. The write runs this handler again, nested.
  Suppressed([&] {
    if (input->Text().empty()) input->SetText(u"0");
  });

  // 3. Not a number, or above the bound: the bound. A failed test counts as
  //    "not a number".
  Suppressed([&] {
    bool correct = true;
    Suppressed([&] { correct = colour::ExceedsBound(input->Text(), row.bound, locale_); });
    if (correct) input->SetText(row.bound_text);
  });

  // 4. The fraction.
  Suppressed([&] { fraction->SetText(FractionForBox(input->Text(), row)); });

  // 5. The swatch, from the three channels as they stand; a channel that
  //    cannot be read (or overflows) leaves the previous colour.
  if (row.paints_swatch) {
    Suppressed([&] {
      form_.LabelNamed("Label4").SetBackColour(
          colour::SwatchColour(Box("Text1")->Text(), Box("Text2")->Text(), Box("Text3")->Text(), locale_));
    });
  }

  // 6. The colour array text from the fraction boxes' final texts.
  Suppressed([&] {
    Box("Text7")->SetText(
        colour::ArrayText(Box("Text4")->Text(), Box("Text5")->Text(), Box("Text6")->Text(), Box("Text9")->Text()));
  });
}

void Form1::FractionChanged(const InputRow& row) {
  const auto input = Box(row.input);
  const auto fraction = Box(row.fraction);
  // Each test reads the input afresh; an input that is not a number yet
  // (its own handler has not corrected it) leaves the fraction box alone.
  if (TryIsEdgeValue(input->Text(), 0, locale_).value_or(false)) fraction->SetText(u"0");
  if (TryIsEdgeValue(input->Text(), row.bound, locale_).value_or(false)) fraction->SetText(u"1");
}

void Form1::Command1_Click() { form_.ShowInfo(AboutText(), AboutTitle()); }

}  // namespace pigmo::window
