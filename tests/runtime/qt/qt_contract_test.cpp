// The runtime contract suite on the Qt backend, and the Qt tests' main: a
// QApplication on the offscreen platform unless QT_QPA_PLATFORM names another.
#include <QApplication>

#include "qt_harness.h"
#include "runtime/contract/contract_tests.h"

namespace pigmo::runtime::contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, RuntimeContract, ::testing::Types<qt::testing::QtHarness>);
}  // namespace pigmo::runtime::contract

namespace {
QtMessageHandler previous_handler = nullptr;
}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleMock(&argc, argv);
  // The offscreen platform notes every raise() it cannot carry out; that only clutters the output.
  previous_handler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support")) && previous_handler) {
      previous_handler(type, context, text);
    }
  });
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
