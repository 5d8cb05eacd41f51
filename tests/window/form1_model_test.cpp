// Random user edit sequences over the whole window, checking after every
// edit what must always hold between the boxes (form1_model.h; the soak run
// in tests/soak does the same at length).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "form1_model.h"
#include "form1_test_support.h"

namespace pigmo::window {
namespace {

using testing::MemoryForm1;

class Form1ModelTest : public ::testing::TestWithParam<const char*> {};

TEST_P(Form1ModelTest, RandomEditsKeepEveryBoxInStep) {
  constexpr int kSequences = 400;
  constexpr int kEditsPerSequence = 25;
  const char* locale_name = GetParam();
  for (int seq = 0; seq < kSequences; ++seq) {
    const auto seed = static_cast<std::uint32_t>(seq * 7919 + 17);
    MemoryForm1 w(locale_name);
    model::Editor editor(w.form, seed);
    model::Invariants invariants(w.form, w.locale);
    for (int step = 0; step < kEditsPerSequence; ++step) {
      const std::string where = editor.Edit();
      const std::string trace = std::string(locale_name) + " seed " + std::to_string(seed) +
                                " edit " + std::to_string(step) + " in " + where;
      SCOPED_TRACE(trace);
      ASSERT_EQ(invariants.Check(where), "");
    }
  }
}

// The same with edits of the colour array box and hostile characters typed
// and pasted, fewer sequences.
TEST_P(Form1ModelTest, HostileEditsKeepEveryBoxInStep) {
  constexpr int kSequences = 100;
  constexpr int kEditsPerSequence = 25;
  const char* locale_name = GetParam();
  for (int seq = 0; seq < kSequences; ++seq) {
    const auto seed = static_cast<std::uint32_t>(seq * 104729 + 3);
    MemoryForm1 w(locale_name);
    model::Editor editor(w.form, seed, {.array_box = true, .hostile_text = true});
    model::Invariants invariants(w.form, w.locale);
    for (int step = 0; step < kEditsPerSequence; ++step) {
      const std::string where = editor.Edit();
      const std::string trace = std::string(locale_name) + " seed " + std::to_string(seed) +
                                " edit " + std::to_string(step) + " in " + where;
      SCOPED_TRACE(trace);
      ASSERT_EQ(invariants.Check(where), "");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, Form1ModelTest,
                         ::testing::Values("C", "en_US", "de_DE", "fr_FR", "fa_IR", "ar_EG"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace pigmo::window
