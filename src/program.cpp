#include "program.h"

#include "runtime/locale.h"
#include "window/form1_description.h"

namespace pigmo {

Program OpenProgram() {
  Program program;
  program.form = runtime::qt::BuildQtForm(window::Form1Description());
  program.handlers = std::make_unique<window::Form1>(*program.form, runtime::Locale::FromEnvironment());
  program.form->Show();
  return program;
}

}  // namespace pigmo
