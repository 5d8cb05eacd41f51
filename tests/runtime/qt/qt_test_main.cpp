// The Qt tests need a QApplication; they run on the offscreen platform
// unless QT_QPA_PLATFORM names another.
#include <QApplication>
#include <gmock/gmock.h>

namespace {

QtMessageHandler previous_handler = nullptr;

// The offscreen platform reports every raise() and size-hint update it
// cannot carry out; that is expected here and only clutters the output.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("This plugin does not support"))) return;
  if (previous_handler) previous_handler(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleMock(&argc, argv);
  previous_handler = qInstallMessageHandler(QuietOffscreenNotes);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
