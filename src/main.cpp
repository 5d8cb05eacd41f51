// Pigmo: starts the Qt backend, builds Form1 from its description, wires
// its handlers and runs until the window is closed. This is the one place
// that chooses a backend.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/dispatch.h"
#include "runtime/locale.h"
#include "runtime/qt/platform_choice.h"
#include "runtime/qt/qt_form.h"
#include "window/form1.h"
#include "window/form1_description.h"

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
  QApplication::setApplicationName(QStringLiteral("Pigmo"));
  QApplication::setApplicationVersion(QStringLiteral("1.00"));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pigmo.pigmo"));

  // An error that leaves a handler is contained by the event dispatch; the
  // window carries on. Say so on stderr for whoever is watching.
  pigmo::runtime::UnhandledErrors().SetObserver([](const pigmo::runtime::Error& error) {
    std::fprintf(stderr, "pigmo: %s in an event handler: %s\n", pigmo::runtime::ErrorKindName(error.kind()),
                 error.what());
  });

  auto form = pigmo::runtime::qt::BuildQtForm(pigmo::window::Form1Description());
  pigmo::window::Form1 handlers(*form, pigmo::runtime::Locale::FromEnvironment());
  form->Show();
  return QApplication::exec();
}
