// The runtime contract suite on the Qt backend.
#include "runtime/contract/contract_tests.h"
#include "runtime/contract/foreign_exception_tests.h"
#include "qt_harness.h"

namespace pigmo::runtime::contract {
namespace {

using QtBackend = ::testing::Types<qt::testing::QtHarness>;
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, RuntimeContract, QtBackend);
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, ForeignException, QtBackend);

}  // namespace
}  // namespace pigmo::runtime::contract
