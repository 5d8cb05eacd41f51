// Pigmo: starts the Qt backend, builds Form1 from its description, wires
// its handlers and runs until the window is closed. This is the one place
// that chooses a backend.
#include <QApplication>
#include <cstdio>

#include "pigmo_version.h"
#include "program.h"
#include "runtime/dispatch.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pigmo"));
  QApplication::setApplicationVersion(QStringLiteral(PIGMO_VERSION_TEXT));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pigmo.pigmo"));

  // An error that leaves a handler is contained by the event dispatch; the
  // window carries on. Say so on stderr for whoever is watching.
  pigmo::runtime::UnhandledErrors().SetObserver([](const pigmo::runtime::Error& error) {
    std::fprintf(stderr, "pigmo: %s in an event handler: %s\n", pigmo::runtime::ErrorKindName(error.kind()),
                 error.what());
  });

  const pigmo::Program program = pigmo::OpenProgram();
  return QApplication::exec();
}
