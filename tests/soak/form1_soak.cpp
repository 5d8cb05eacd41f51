// The soak run: random user edit sequences over the in-memory window, the
// invariants of form1_model.h checked after every edit, for as long as
// asked. Not a unit test: scripts/soak builds it in Release and runs it.
//
//   pigmo_soak [--sequences N] [--edits N] [--locales C,en_US,...] [--seed N]
//              [--trace 1]
//
// --trace prints every edit and the texts of all boxes after it (for
// replaying one failing sequence).
//
// Sequence i runs in locale i mod (number of locales), with seed + i as its
// random seed; odd sequences also edit the colour array box and type
// hostile characters. Prints the count, the time and the deepest nesting of
// change events seen, and the locale, seed and edit of the first broken
// invariant (exit 1).
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "runtime/dispatch.h"
#include "runtime/event.h"
#include "runtime/locale.h"
#include "runtime/memory/memory_form.h"
#include "window/form1.h"
#include "window/form1_description.h"
#include "window/form1_model.h"

namespace {

using namespace pigmo;

struct Options {
  long long sequences = 1'000'000;
  int edits = 25;
  std::vector<std::string> locales = {"C", "en_US", "de_DE", "fr_FR", "fa_IR", "ar_EG"};
  std::uint32_t seed = 1;
  bool trace = false;
};

std::vector<std::string> Split(const std::string& list) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = list.find(',', start);
    const std::size_t end = comma == std::string::npos ? list.size() : comma;
    if (end > start) out.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

[[noreturn]] void Usage() {
  std::fprintf(stderr,
               "usage: pigmo_soak [--sequences N] [--edits N] [--locales A,B,...] [--seed N] [--trace 1]\n");
  std::exit(2);
}

Options Parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) Usage();
    const char* value = argv[++i];
    if (arg == "--sequences") {
      options.sequences = std::atoll(value);
    } else if (arg == "--edits") {
      options.edits = std::atoi(value);
    } else if (arg == "--locales") {
      options.locales = Split(value);
    } else if (arg == "--trace") {
      options.trace = std::atoi(value) != 0;
    } else if (arg == "--seed") {
      options.seed = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
    } else {
      Usage();
    }
  }
  if (options.sequences < 0 || options.edits < 1 || options.locales.empty()) Usage();
  return options;
}

void Trace(int step, const std::string& edit, runtime::memory::MemoryForm& form) {
  std::printf("%2d %s\n  ", step, edit.c_str());
  for (const char* name : {"Text1", "Text2", "Text3", "Text8", "Text4", "Text5", "Text6", "Text9", "Text7"}) {
    std::printf(" %s=%s", name + 4, window::model::Show(form.Box(name).Text()).c_str());
  }
  std::printf("\n");
}

struct Deepest {
  int depth = 0;
  std::string locale;
  std::uint32_t seed = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  std::vector<runtime::Locale> locales;
  for (const std::string& name : options.locales) locales.push_back(runtime::Locale::Named(name));
  std::vector<long long> per_locale(locales.size(), 0);

  Deepest deepest;
  long long edits = 0;
  const auto started = std::chrono::steady_clock::now();
  for (long long i = 0; i < options.sequences; ++i) {
    const std::size_t which = static_cast<std::size_t>(i % static_cast<long long>(locales.size()));
    const runtime::Locale& locale = locales[which];
    const auto seed = static_cast<std::uint32_t>(options.seed + static_cast<std::uint64_t>(i));
    const window::model::EditorOptions editor_options{.array_box = i % 2 == 1, .hostile_text = i % 2 == 1};

    runtime::memory::MemoryForm form(window::Form1Description());
    window::Form1 handlers(form, locale);
    runtime::UnhandledErrors().Clear();
    form.Show();
    window::model::Editor editor(form, seed, editor_options);
    editor.Describe(options.trace);
    window::model::Invariants invariants(form, locale);
    runtime::Event::ResetDeepestNesting();
    for (int step = 0; step < options.edits; ++step) {
      std::string where;
      std::string broken;
      try {
        where = editor.Edit();
        if (options.trace) Trace(step, editor.LastEdit(), form);
        broken = invariants.Check(where);
      } catch (const std::exception& e) {
        broken = std::string("exception: ") + e.what();
      }
      if (!broken.empty()) {
        std::printf("FAILED: locale %s, seed %u (sequence %lld%s), edit %d in %s: %s\n", locale.Name().c_str(),
                    seed, i, editor_options.hostile_text ? ", hostile" : "", step, where.c_str(), broken.c_str());
        return 1;
      }
      ++edits;
    }
    if (runtime::Event::DeepestNesting() > deepest.depth) {
      deepest = {runtime::Event::DeepestNesting(), locale.Name(), seed};
    }
    ++per_locale[which];
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  std::printf("sequences: %lld (", options.sequences);
  for (std::size_t l = 0; l < locales.size(); ++l) {
    std::printf("%s%s %lld", l ? ", " : "", locales[l].Name().c_str(), per_locale[l]);
  }
  std::printf(")\nedits: %lld, each followed by the invariant check\n", edits);
  std::printf("time: %.1f s (%.0f sequences/s)\n", seconds, seconds > 0 ? options.sequences / seconds : 0.0);
  std::printf("deepest nesting of change events: %d (first in %s, seed %u)\n", deepest.depth,
              deepest.locale.c_str(), deepest.seed);
  std::printf("all invariants held\n");
  return 0;
}
