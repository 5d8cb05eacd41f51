// Form1's fifteen widgets built with plain Qt and nothing else: the same
// kinds, geometry, texts and font as the real window, but no handlers, no
// colours, no icon, no backend layer and no ICU. It is the floor that the
// start-up and keystroke figures are measured against.
#pragma once

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <memory>

namespace pigmo::bench {

struct BareForm {
  std::unique_ptr<QWidget> window;
  // By Form1's names.
  QLineEdit* text[10] = {};  // text[1] .. text[9]; text[0] unused
  QLabel* label[6] = {};     // label[1] .. label[5]; label[0] unused
  QPushButton* command1 = nullptr;
};

// The font the real window resolves: Verdana where installed, otherwise
// DejaVu Sans; 8.25 points, bold.
QFont BareFont();

// Builds the window (not shown) with the screen's logical DPI.
BareForm BuildBareForm();

}  // namespace pigmo::bench
