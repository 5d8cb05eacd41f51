// The runtime contract suite on the Win32 backend, under Wine.
#include "runtime/contract/contract_tests.h"
#include "runtime/contract/foreign_exception_tests.h"
#include "win32/win32_harness.h"

namespace pigmo::runtime::contract {
namespace {

using Win32Backend = ::testing::Types<win32::testing::Win32Harness>;
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RuntimeContract, Win32Backend);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ForeignException, Win32Backend);

}  // namespace
}  // namespace pigmo::runtime::contract
