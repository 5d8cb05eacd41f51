// One user edit of Text1, two ways, on real QLineEdits:
//   - FlowRig: the pigmo window (Qt backend and Form1's handlers); the
//     key event runs every nested handler.
//   - FloorRig: the bare window of bare_form.h with the same key event,
//     followed by exactly the widget writes the flow ends up making for
//     that edit, precomputed, with no handler logic.
// An edit selects all of Text1 and types one digit, cycling 1..9 so that
// every edit changes the text and goes through the fraction path (no edge
// value). Both rigs run one full cycle when built, so the restriction
// object exists and is bound to Text4 before anything is measured.
#pragma once

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <array>
#include <memory>

#include "bare_form.h"
#include "runtime/qt/qt_form.h"
#include "window/form1.h"

namespace pigmo::bench {

inline constexpr int kCycleLength = 9;

// The digit typed by edit `k` of a cycle: '1' + k.
char CycleDigit(int k);

// Select all, then a key press and release of `digit`, sent to `edit`.
void TypeOverAll(QLineEdit* edit, char digit);

class FlowRig {
 public:
  FlowRig();
  ~FlowRig();
  void Edit();  // the next edit of the cycle
  QWidget* Window() const { return form_->Window(); }
  QString Text(const char* name) const;

 private:
  std::unique_ptr<runtime::qt::QtForm> form_;
  std::unique_ptr<window::Form1> handlers_;
  QLineEdit* text1_;
  int k_ = 0;
};

class FloorRig {
 public:
  FloorRig();
  void Edit();
  QWidget* Window() const { return form_.window.get(); }
  QString Text(const char* name) const;

  // What one edit writes: QLineEdit::setText calls and label colours.
  static constexpr int kSetTextPerEdit = 4;
  static constexpr int kColoursPerEdit = 1;

 private:
  struct Writes {
    QString fraction;  // Text4 after the edit
    QString array;     // Text7 after the edit
    QColor swatch;     // Label4 after the edit
  };
  BareForm form_;
  std::array<Writes, kCycleLength> writes_;
  int k_ = 0;
};

}  // namespace pigmo::bench
