#include "program.h"

#include <QGuiApplication>

#include "pigmo_version.h"
#include "runtime/locale.h"
#include "window/form1_description.h"

namespace pigmo {

Program OpenProgram() {
  // Who the program is, for the desktop (its desktop file gives the window's
  // icon and task-bar entry) and for assistive tools; before the window exists.
  QGuiApplication::setApplicationName(QStringLiteral("Pigmo"));
  QGuiApplication::setApplicationVersion(QStringLiteral(PIGMO_VERSION_TEXT));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pigmo.pigmo"));
  Program program;
  program.form = runtime::qt::BuildQtForm(window::Form1Description());
  program.handlers = std::make_unique<window::Form1>(*program.form, runtime::Locale::FromEnvironment());
  program.form->Show();
  return program;
}

}  // namespace pigmo
