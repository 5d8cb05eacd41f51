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

class Form1ModelTest : public ::testing::TestWithParam<const char*> {
 protected:
  // Runs `sequences` random sequences of 25 edits each, seeded from
  // `seed_step`, and checks every invariant after every edit.
  void Run(int sequences, std::uint32_t seed_step, std::uint32_t seed_offset,
           model::EditorOptions options) {
    constexpr int kEditsPerSequence = 25;
    const char* locale_name = GetParam();
    for (int seq = 0; seq < sequences; ++seq) {
      const auto seed = static_cast<std::uint32_t>(seq) * seed_step + seed_offset;
      MemoryForm1 w(locale_name);
      model::Editor editor(w.form, seed, options);
      model::Invariants invariants(w.form, w.locale);
      for (int step = 0; step < kEditsPerSequence; ++step) {
        const std::string where = editor.Edit();
        SCOPED_TRACE(std::string(locale_name) + " seed " + std::to_string(seed) + " edit " +
                     std::to_string(step) + " in " + where);
        ASSERT_EQ(invariants.Check(where), "");
      }
    }
  }
};

TEST_P(Form1ModelTest, RandomEditsKeepEveryBoxInStep) { Run(400, 7919, 17, {}); }

// The same with edits of the colour array box and hostile characters typed
// and pasted, fewer sequences.
TEST_P(Form1ModelTest, HostileEditsKeepEveryBoxInStep) {
  Run(100, 104729, 3, {.array_box = true, .hostile_text = true});
}

INSTANTIATE_TEST_SUITE_P(Locales, Form1ModelTest,
                         ::testing::Values("C", "en_US", "de_DE", "fr_FR", "fa_IR", "ar_EG"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace pigmo::window
