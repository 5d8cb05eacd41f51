// Random user edit sequences over the whole window, checking after every
// edit what must always hold between the boxes (form1_model.h). Sequences
// with an even seed are hostile. The soak run (scripts/soak) is this test at length:
//   PIGMO_SOAK_SEQUENCES  sequences per locale (default 1000)
//   PIGMO_SOAK_SEED       the first sequence's seed (default 1)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "form1_model.h"

namespace pigmo::window {
namespace {

using testing::Editor, testing::Invariants, testing::MemoryForm1;

long long FromEnvironment(const char* name, long long fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::atoll(value) : fallback;
}

// A point, a comma and the Arabic separator of fa_IR (set here: Windows'
// locale data gives fa-IR another one).
runtime::Locale ModelLocale(int which) {
  return which == 0 ? runtime::Locale::Named("en_US")
         : which == 1 ? runtime::Locale::Named("de_DE")
                      : runtime::Locale::Named("fa_IR").WithDecimalSeparator(u"\u066B");
}

class Form1ModelTest : public ::testing::TestWithParam<int> {};

TEST_P(Form1ModelTest, RandomEditsKeepEveryBoxInStep) {
  constexpr int kEditsPerSequence = 25;
  const runtime::Locale locale = ModelLocale(GetParam());
  const long long sequences = FromEnvironment("PIGMO_SOAK_SEQUENCES", 1000);
  const long long first = FromEnvironment("PIGMO_SOAK_SEED", 1);
  for (long long i = 0; i < sequences; ++i) {
    const auto seed = static_cast<std::uint32_t>(first + i);
    MemoryForm1 w(locale);
    Editor editor(w, seed, seed % 2 == 0);
    Invariants invariants(w);
    for (int step = 0; step < kEditsPerSequence; ++step) {
      const char* where = editor.Edit();
      if (const auto held = invariants.Check(where); !held) {
        // Replays the sequence, saying what each edit did.
        MemoryForm1 again(locale);
        Editor replay(again, seed, seed % 2 == 0);
        std::string edits;
        for (int s = 0; s <= step; ++s) replay.Edit(&edits), edits += "\n";
        FAIL() << locale.Name() << " seed " << seed << " edit " << step << ": " << held.message() << "\n" << edits;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, Form1ModelTest, ::testing::Values(0, 1, 2), [](const auto& info) {
  return std::string(info.param == 0 ? "Point" : info.param == 1 ? "Comma" : "ArabicSeparator");
});

}  // namespace
}  // namespace pigmo::window
