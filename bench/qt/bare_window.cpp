// The start-up floor: a Qt program that opens the bare window and does
// nothing else.
#include <QApplication>

#include "bare_form.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const auto window = pigmo::bench::BuildBareWindow();
  window->show();
  return QApplication::exec();
}
