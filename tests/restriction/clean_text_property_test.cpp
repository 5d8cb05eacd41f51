// The production filter against the step-by-step oracle on random texts and
// carets, plus hostile input. Every case derives its generator from a fixed
// seed plus its number; the seed in a failure message reproduces it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "restriction/clean_text_test_support.h"

namespace pigmo::restriction {
namespace {

using runtime::ErrorKind;
using testing::Clean;
using testing::kLocales;
using testing::LocaleNamed;
using testing::Ok;
using testing::Outcome;
using testing::Show;

constexpr std::uint32_t kSeed = 0x5EED2024u;

// Lone surrogates cannot be written as character literals.
constexpr char16_t kHighSurrogate = 0xD800;
constexpr char16_t kLowSurrogate = 0xDC00;
constexpr char16_t kLastLowSurrogate = 0xDFFF;

struct FilterSets {
  std::u16string delimiter;
  std::u16string allowed;
};

// The sets the binding builds: the digits plus the delimiter, and the
// digits alone with the fallback "^".
const FilterSets kSetups[] = {
    {u".", u"0123456789."},
    {u"^", u"0123456789^"},
    {u"^", u"0123456789"},
};

// Digits and delimiters come up most, as they do in a box.
const std::u16string kAlphabet =
    u"0123456789012345678901234567890123456789....,,,,^^^aAzZ- \u00E4\uFF11";

std::u16string RandomText(std::mt19937& rng, std::u16string_view alphabet, std::size_t length) {
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::u16string s(length, u' ');
  for (auto& c : s) c = alphabet[pick(rng)];
  return s;
}

// Mostly inside the text, sometimes at its ends, sometimes beyond the end.
std::int32_t RandomCaret(std::mt19937& rng, std::size_t length) {
  const auto len = static_cast<std::int32_t>(length);
  switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
    case 0: return 0;
    case 1:
    case 2: return len;
    case 3: return len + std::uniform_int_distribution<std::int32_t>(1, 3)(rng);
    default: return std::uniform_int_distribution<std::int32_t>(0, len)(rng);
  }
}

std::string Describe(std::uint32_t seed, const char* locale, std::u16string_view text, std::int32_t caret,
                     const FilterSets& setup) {
  return "seed " + std::to_string(seed) + ", locale " + locale + ": CleanText(" + Show(text) + ", " +
         std::to_string(caret) + ", " + Show(setup.allowed) + ", " + Show(setup.delimiter) + ")";
}

// Returns false (after reporting) when production and oracle disagree.
bool ExpectSameAsOracle(std::uint32_t seed, const char* locale, std::u16string_view text, std::int32_t caret,
                        const FilterSets& setup) {
  const auto& loc = LocaleNamed(locale);
  const Outcome fast = Clean(&CleanText, text, caret, setup.allowed, setup.delimiter, loc);
  const Outcome slow = Clean(&oracle::CleanText, text, caret, setup.allowed, setup.delimiter, loc);
  if (fast == slow) return true;
  ADD_FAILURE() << Describe(seed, locale, text, caret, setup) << "\n  production: " << Show(fast)
                << "\n  oracle:     " << Show(slow);
  return false;
}

TEST(CleanTextPropertyTest, ProductionMatchesOracleOnShortTexts) {
  constexpr int kCasesPerSetup = 400;
  int failures = 0;
  std::uint32_t seed = kSeed;
  for (const char* locale : kLocales) {
    for (const FilterSets& setup : kSetups) {
      for (int k = 0; k < kCasesPerSetup && failures < 10; ++k, ++seed) {
        std::mt19937 rng(seed);
        const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 40)(rng);
        const std::u16string text = RandomText(rng, kAlphabet, length);
        const std::int32_t caret = RandomCaret(rng, length);
        if (!ExpectSameAsOracle(seed, locale, text, caret, setup)) ++failures;
      }
    }
  }
}

// Properties that hold whatever the oracle says, checked on production.
TEST(CleanTextPropertyTest, ResultsKeepTheirShape) {
  const auto& loc = LocaleNamed("C");
  const FilterSets& dot = kSetups[0];
  for (std::uint32_t seed = kSeed; seed < kSeed + 2000; ++seed) {
    std::mt19937 rng(seed);
    const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 40)(rng);
    const std::u16string text = RandomText(rng, kAlphabet, length);
    const std::int32_t caret = std::uniform_int_distribution<std::int32_t>(0, static_cast<std::int32_t>(length))(rng);
    const std::string what = Describe(seed, "C", text, caret, dot);

    const Cleaned got = CleanText(text, caret, dot.allowed, dot.delimiter, loc);
    // A caret inside the text stays inside the cleaned text.
    ASSERT_GE(got.caret, 0) << what;
    ASSERT_LE(got.caret, static_cast<std::int32_t>(got.text.size())) << what;
    // Nothing is ever added but the leading "0".
    ASSERT_LE(got.text.size(), text.size() + 1) << what;

    // A comma is read exactly as a typed delimiter.
    std::u16string dotted = text;
    std::replace(dotted.begin(), dotted.end(), u',', u'.');
    ASSERT_EQ(CleanText(dotted, caret, dot.allowed, dot.delimiter, loc), got) << what;

    // With the caret at the end only allowed characters stay, and a text
    // holding a delimiter or a comma keeps exactly one delimiter.
    const Cleaned whole = CleanText(text, static_cast<std::int32_t>(length), dot.allowed, dot.delimiter, loc);
    ASSERT_EQ(whole.caret, static_cast<std::int32_t>(whole.text.size())) << what;
    for (const char16_t c : whole.text) {
      ASSERT_TRUE((c >= u'0' && c <= u'9') || c == u'.' || c == u'\uFF11') << what << " kept " << Show(whole.text);
    }
    const auto count = [](std::u16string_view s, char16_t c) { return std::count(s.begin(), s.end(), c); };
    if (count(text, u'.') + count(text, u',') > 0) {
      ASSERT_EQ(count(whole.text, u'.'), 1) << what << " gave " << Show(whole.text);
    } else {
      ASSERT_EQ(count(whole.text, u'.'), count(text, u'^')) << what << " gave " << Show(whole.text);
    }
  }
}

// Texts around the limit of the scan, with a mix of characters before and
// after position 32,767.
TEST(CleanTextPropertyTest, ProductionMatchesOracleAroundTheScanLimit) {
  const std::u16string mix = u"01234567890123456789012345678901234567890123456789.,a";
  std::uint32_t seed = kSeed + 100000;
  for (const std::size_t length : {32766u, 32767u, 32769u}) {
    for (int variant = 0; variant < 2; ++variant, ++seed) {
      std::mt19937 rng(seed);
      std::u16string text(length, u'7');
      // A handful of other characters, so that removals and delimiters shift
      // the scan by a few places.
      const int sprinkle = std::uniform_int_distribution<int>(0, 4)(rng);
      for (int k = 0; k < sprinkle; ++k) {
        text[std::uniform_int_distribution<std::size_t>(0, length - 1)(rng)] =
            mix[std::uniform_int_distribution<std::size_t>(0, mix.size() - 1)(rng)];
      }
      const std::int32_t caret =
          variant == 0 ? static_cast<std::int32_t>(length)
                       : std::uniform_int_distribution<std::int32_t>(32760, static_cast<std::int32_t>(length) + 2)(rng);
      ExpectSameAsOracle(seed, "C", text, caret, kSetups[variant == 0 ? 0 : 2]);
    }
  }
}

// Control characters, NUL, lone surrogates, ignorable and width-variant
// characters, odd delimiters and allowed sets: production and oracle agree.
TEST(CleanTextPropertyTest, ProductionMatchesOracleOnHostileInput) {
  const std::u16string alphabet{u'0',     u'1',     u'.',     u',',     u'^',     u'a',     u'\0',
                                u'\x01',  u'\x1F',  u'\x7F',  u'\u200B', u'\u00AD', kHighSurrogate, kLowSurrogate,
                                u'\uFF0E', u'\uFF0C', u'\uFF3E', u'\u0301', u'\uFEFF', u'\uFFFF', u'A'};
  const std::vector<std::u16string> delimiters{u".",  u"^",  std::u16string(1, u'\0'), u"\uFF0E", u"a",
                                               u"..", u".,", std::u16string(u"\0.", 2), std::u16string(1, kHighSurrogate)};
  const std::vector<std::u16string> allowed_sets{u"0123456789", u"", std::u16string(1, u'\0'), u"a\u0301",
                                                 std::u16string{kLowSurrogate, u'\u200B'}};
  int failures = 0;
  std::uint32_t seed = kSeed + 200000;
  for (const char* locale : {"C", "de_DE", "fa_IR"}) {
    for (const auto& delimiter : delimiters) {
      for (const auto& allowed_base : allowed_sets) {
        for (int k = 0; k < 12 && failures < 10; ++k, ++seed) {
          std::mt19937 rng(seed);
          const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 24)(rng);
          const std::u16string text = RandomText(rng, alphabet, length);
          std::int32_t caret = RandomCaret(rng, length);
          if (k == 0) caret = -1 - static_cast<std::int32_t>(length);
          const FilterSets setup{delimiter, k % 2 == 0 ? allowed_base + delimiter : allowed_base};
          if (!ExpectSameAsOracle(seed, locale, text, caret, setup)) ++failures;
        }
      }
    }
  }
}

// Very long hostile texts give a result or a runtime error, never a crash
// or another exception.
TEST(CleanTextPropertyTest, LongHostileTextsGiveAResultOrAnError) {
  const std::u16string alphabet{u'0', u'9', u'.', u',', u'^', u'\0', u'\x01', kHighSurrogate, kLastLowSurrogate, u'\uFF0E', u'x'};
  const FilterSets& dot = kSetups[0];
  const auto& loc = LocaleNamed("de_DE");
  for (std::uint32_t seed = kSeed + 300000; seed < kSeed + 300002; ++seed) {
    std::mt19937 rng(seed);
    const std::u16string text = RandomText(rng, alphabet, 40000);
    for (const std::int32_t caret : {0, 20000, 40000, 40005}) {
      const Outcome got = Clean(&CleanText, text, caret, dot.allowed, dot.delimiter, loc);
      ASSERT_NE(got.type, Outcome::Type::kForeign) << "seed " << seed << ", caret " << caret << ": " << Show(got);
      if (got.type == Outcome::Type::kResult) {
        EXPECT_GE(got.result.caret, 0);
      }
    }
    // With the caret at 0 nothing is scanned, so the oracle is quick enough.
    ExpectSameAsOracle(seed, "de_DE", text, 0, dot);
  }

  // Characters that are not allowed all go, however many there are.
  for (const char16_t bad : {u'\0', u'\x01', kHighSurrogate, kLowSurrogate, u'x'}) {
    const std::u16string text(40000, bad);
    EXPECT_EQ(Clean(&CleanText, text, 40000, dot.allowed, dot.delimiter, loc), Ok(u"", 0))
        << "40,000 times " << Show(std::u16string(1, bad));
  }
}

}  // namespace
}  // namespace pigmo::restriction
