// The program's window as pigmo opens it: Form1 built by the Qt backend from
// its description, its handlers connected, shown. main() runs it; the
// acceptance tests open it the same way, so they see what the user sees.
#pragma once

#include <memory>

#include "runtime/qt/qt_form.h"
#include "window/form1.h"

namespace pigmo {

struct Program {
  std::unique_ptr<runtime::qt::QtForm> form;
  std::unique_ptr<window::Form1> handlers;  // declared last: disconnected first
};

// Needs a QApplication.
Program OpenProgram();

}  // namespace pigmo
