// Any exception that leaves a listener stops at the event dispatch, on every
// backend and on every path into it (user edit, program write, click): ours
// as it is, any other logged as foreign; nothing unwinds into the toolkit.
#pragma once

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <vector>

#include "runtime/contract/harness.h"
#include "runtime/dispatch.h"
#include "window/form1_description.h"

namespace pigmo::runtime::contract {

template <class H>
class ForeignException : public ::testing::Test {
 protected:
  void SetUp() override { UnhandledErrors().Clear(); }
  void TearDown() override {
    UnhandledErrors().SetObserver({});
    UnhandledErrors().Clear();
  }
  H harness_;
};

TYPED_TEST_SUITE_P(ForeignException);

TYPED_TEST_P(ForeignException, IsContainedAndLoggedAsForeign) {
  Form& form = this->harness_.Build(window::Form1Description());
  this->harness_.Show();
  const auto box = form.TextBoxNamed("Text1");
  int throws = 0, after = 0;
  auto failing = box->OnChange([&] {
    if (throws++ == 0) throw std::bad_alloc();
    throw 42;  // not even a std::exception
  });
  auto next = box->OnChange([&] { ++after; });
  auto click = form.ButtonNamed("Command1").OnClick([] { throw std::logic_error("click"); });
  std::vector<ErrorKind> logged;
  UnhandledErrors().SetObserver([&](const Error& error) { logged.push_back(error.kind()); });

  this->harness_.Select("Text1", 0, 3);
  this->harness_.Type("Text1", u"7");
  box->SetText(u"12");
  this->harness_.Click("Command1");

  EXPECT_EQ(box->Text(), u"12");
  EXPECT_EQ(after, 2);  // the next listener still ran, each time
  EXPECT_EQ(logged, std::vector<ErrorKind>(3, ErrorKind::kForeign));
  EXPECT_TRUE(this->harness_.WindowOpen());
}

REGISTER_TYPED_TEST_SUITE_P(ForeignException, IsContainedAndLoggedAsForeign);

}  // namespace pigmo::runtime::contract
