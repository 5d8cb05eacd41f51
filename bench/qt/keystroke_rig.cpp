#include "keystroke_rig.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>
#include <string>

#include "colour/colour_rules.h"
#include "runtime/locale.h"
#include "runtime/qt/qt_convert.h"
#include "window/form1_description.h"

namespace pigmo::bench {

namespace {

runtime::Locale BenchLocale() { return runtime::Locale::Named("en_US"); }

}  // namespace

char CycleDigit(int k) { return static_cast<char>('1' + k % kCycleLength); }

void TypeOverAll(QLineEdit* edit, char digit) {
  edit->selectAll();
  const auto key = static_cast<Qt::Key>(Qt::Key_0 + (digit - '0'));
  const QString text(QLatin1Char{digit});
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(edit, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(edit, &release);
}

FlowRig::FlowRig()
    : form_(runtime::qt::BuildQtForm(window::Form1Description())),
      handlers_(std::make_unique<window::Form1>(*form_, BenchLocale())),
      text1_(form_->Box("Text1").Widget()) {
  for (int i = 0; i < kCycleLength; ++i) Edit();
}

FlowRig::~FlowRig() {
  handlers_.reset();  // the handlers go before the window they listen to
}

void FlowRig::Edit() {
  TypeOverAll(text1_, CycleDigit(k_));
  k_ = (k_ + 1) % kCycleLength;
}

QString FlowRig::Text(const char* name) const {
  return form_->Box(name).Widget()->text();
}

FloorRig::FloorRig() : form_(BuildBareForm()) {
  // The texts and colours the handlers compute, worked out once here so
  // that the measured loop does nothing but the writes.
  const runtime::Locale locale = BenchLocale();
  for (int k = 0; k < kCycleLength; ++k) {
    const std::u16string channel(1, static_cast<char16_t>(CycleDigit(k)));
    const std::u16string fraction = colour::FractionText(channel, 255, u"0.0000", locale);
    writes_[k].fraction = runtime::qt::ToQString(fraction);
    writes_[k].array = runtime::qt::ToQString(colour::ArrayText(fraction, u"1", u"1", u"1"));
    writes_[k].swatch = runtime::qt::ToQColor(colour::SwatchColour(channel, u"255", u"255", locale));
  }
  for (int i = 0; i < kCycleLength; ++i) Edit();
}

void FloorRig::Edit() {
  const int prev = (k_ + kCycleLength - 1) % kCycleLength;
  TypeOverAll(form_.text[1], CycleDigit(k_));
  const Writes& w = writes_[k_];
  QLineEdit* text4 = form_.text[4];
  // Binding the restriction object writes Text4's text back unchanged.
  text4->setText(writes_[prev].fraction);
  // The fraction, and the restriction object's clean after that change.
  text4->setText(w.fraction);
  text4->setText(w.fraction);
  // The swatch.
  QLabel* swatch = form_.label[4];
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, w.swatch);
  swatch->setPalette(palette);
  swatch->setAutoFillBackground(true);
  // The colour array text.
  form_.text[7]->setText(w.array);
  k_ = (k_ + 1) % kCycleLength;
}

QString FloorRig::Text(const char* name) const {
  const QLineEdit* edit = form_.window->findChild<QLineEdit*>(QString::fromLatin1(name));
  return edit ? edit->text() : QString();
}

}  // namespace pigmo::bench
