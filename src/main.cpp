// pigmo, the Linux program: the Qt backend with ICU's locale services. Each
// platform has an entry point of its own and the build picks it: the Linux
// build compiles this file into pigmo, the Windows build compiles
// win32_main.cpp into Pigmo.exe with the Win32 backend. Here Qt's window
// system is chosen, then Form1 is opened (program.cpp) and runs until its
// window is closed.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "program.h"
#include "runtime/dispatch.h"
#include "runtime/qt/platform_choice.h"

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

int main(int argc, char** argv) {
  // The window's frame depends on the window system Qt talks to: chosen
  // before the application connects to one.
  const std::string platform = pigmo::runtime::qt::PlatformToAsk(
      {Variable("QT_QPA_PLATFORM"), Variable("DISPLAY"), Variable("WAYLAND_DISPLAY"), Variable("XDG_SESSION_TYPE")});
  if (!platform.empty()) qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(platform));

  QApplication app(argc, argv);

  // An error that leaves a handler is contained by the event dispatch; the
  // window carries on. Say so on stderr for whoever is watching.
  pigmo::runtime::UnhandledErrors().SetObserver([](const pigmo::runtime::Error& error) {
    std::fprintf(stderr, "pigmo: %s in an event handler: %s\n", pigmo::runtime::ErrorKindName(error.kind()),
                 error.what());
  });

  const pigmo::Program program = pigmo::OpenProgram();
  return QApplication::exec();
}
