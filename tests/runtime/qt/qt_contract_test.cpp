// The runtime contract suite on the Qt backend, and the main of the Qt
// tests: offscreen unless QT_QPA_PLATFORM names another platform.
#include <QApplication>

#include "qt_harness.h"
#include "runtime/contract/contract_tests.h"
#include "runtime/contract/foreign_exception_tests.h"

namespace pigmo::runtime::contract {
using QtBackend = ::testing::Types<qt::testing::QtHarness>;
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, RuntimeContract, QtBackend);
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, ForeignException, QtBackend);
}  // namespace pigmo::runtime::contract

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleMock(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
