// The start-up floor: a Qt program that opens a window with Form1's fifteen
// widgets (same kinds, texts, geometry and font) and does nothing else.
#include <QApplication>

#include "bare_form.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  pigmo::bench::BareForm form = pigmo::bench::BuildBareForm();
  form.window->show();
  return QApplication::exec();
}
