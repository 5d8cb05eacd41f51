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

namespace pigmo::window::testing {
namespace {

long long FromEnvironment(const char* name, long long fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::atoll(value) : fallback;
}

class Form1ModelTest : public ::testing::TestWithParam<const char*> {};

TEST_P(Form1ModelTest, RandomEditsKeepEveryBoxInStep) {
  runtime::Locale locale = runtime::Locale::Named(GetParam());
  // Set here: Windows' locale data gives fa-IR another separator.
  if (locale.Name() == "fa_IR") locale = locale.WithDecimalSeparator(u"\u066B");
  const long long sequences = FromEnvironment("PIGMO_SOAK_SEQUENCES", 1000);
  const long long first = FromEnvironment("PIGMO_SOAK_SEED", 1);
  for (long long i = 0; i < sequences; ++i) {
    const auto seed = static_cast<std::uint32_t>(first + i);
    MemoryForm1 w(locale);
    Editor editor(w, seed, seed % 2 == 0);
    Invariants invariants(w);
    for (int step = 0; step < 25; ++step) {
      invariants.Check(editor.Edit());
      if (!HasFailure()) continue;
      std::string trail;  // replayed: the box each edit went to and every box's text after it
      MemoryForm1 again(locale);
      Editor replay(again, seed, seed % 2 == 0);
      for (int s = 0; s <= step; ++s) {
        trail += std::string("\n") + replay.Edit() + " ->";
        for (const char* box : kBoxes) trail += " " + ::testing::PrintToString(again.Text(box));
      }
      FAIL() << locale.Name() << " seed " << seed << " edit " << step << "; Text1-3, 8, 4-6, 9, 7 after each:" << trail;
    }
  }
}

// A point, a comma and the Arabic separator.
INSTANTIATE_TEST_SUITE_P(Locales, Form1ModelTest, ::testing::Values("en_US", "de_DE", "fa_IR"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace pigmo::window::testing
