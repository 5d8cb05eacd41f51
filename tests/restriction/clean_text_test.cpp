// The numeric text filter and InstrPrev: worked tables and the limits of the
// scan, each checked on the production code and on the step-by-step oracle,
// then the production code against the oracle on random and hostile input.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"

namespace pigmo::restriction {

void PrintTo(const Cleaned& c, std::ostream* os) {
  *os << ::testing::PrintToString(c.text.substr(0, 60)) << (c.text.size() > 60 ? "..." : "") << " caret " << c.caret;
}

namespace {

using runtime::ErrorKind;
using runtime::Locale;
using Outcome = std::variant<Cleaned, ErrorKind>;

const std::u16string kDigitsDot = u"0123456789.", kDigits = u"0123456789";
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr auto kOverflow = ErrorKind::kOverflow, kInvalid = ErrorKind::kInvalidArgument;

const struct Implementation {
  const char* name;
  decltype(&CleanText) clean;
  decltype(&InstrPrev) instr_prev;
} kImplementations[] = {{"production", &CleanText, &InstrPrev}, {"oracle", &oracle::CleanText, &oracle::InstrPrev}};

// One point and one comma locale; only their text comparison matters here.
const Locale& LocaleNamed(const char* name) {
  static const Locale en = Locale::Named("en_US"), de = Locale::Named("de_DE");
  return std::string_view(name) == "en_US" ? en : de;
}
constexpr const char* kLocales[] = {"en_US", "de_DE"};

Outcome Clean(decltype(&CleanText) fn, std::u16string_view text, std::int32_t caret, std::u16string_view allowed,
              std::u16string_view delimiter, const Locale& locale) {
  try {
    return fn(text, caret, allowed, delimiter, locale);
  } catch (const runtime::Error& e) {
    return e.kind();
  }
}

TEST(InstrPrevTest, FindsTheLastOccurrenceWithinThePrefix) {
  const struct {
    std::u16string text, match;
    std::int32_t last_pos, expected;
  } rows[] = {
      {u"1.2.3", u".", 3, 2}, {u"1.2.3", u".", 5, 4}, {u"1.2.3", u".", 1, 0}, {u"1.2.3", u".", 0, 0},
      {u"1.2.3", u".", kInt32Max, 4}, {u"ab..", u"..", 3, 0}, {u"ab..", u"..", 4, 3}, {u"aBab", u"AB", 4, 3},
      {u"aBab", u"AB", 3, 1}, {u"x.", u".", 2, 2}, {u"...", u"..", 3, 2}, {u"...", u"..", 1, 0},
      {u"ab", u"abc", 9, 0}, {u"1.2.3", u"", 5, 0}, {u"", u".", 7, 0},
  };
  for (const char* locale : kLocales) {
    for (const auto& impl : kImplementations) {
      for (const auto& row : rows) {
        EXPECT_EQ(impl.instr_prev(row.text, row.match, row.last_pos, LocaleNamed(locale)), row.expected)
            << impl.name << " in " << locale << ": " << ::testing::PrintToString(row.text) << " "
            << ::testing::PrintToString(row.match) << " " << row.last_pos;
      }
      for (const std::int32_t last_pos : {-1, std::numeric_limits<std::int32_t>::min()}) {
        EXPECT_THROW(impl.instr_prev(u"1.2", u".", last_pos, LocaleNamed(locale)), runtime::Error);
      }
    }
  }
}

struct CleanRow {
  std::u16string text;
  std::int32_t caret;
  Outcome expected;
  std::u16string allowed = kDigitsDot;
  std::u16string delimiter = u".";
};

void ExpectRows(const std::vector<CleanRow>& rows, const char* locale) {
  for (const auto& impl : kImplementations) {
    for (const CleanRow& row : rows) {
      EXPECT_EQ(Clean(impl.clean, row.text, row.caret, row.allowed, row.delimiter, LocaleNamed(locale)), row.expected)
          << impl.name << " in " << locale << ": CleanText(" << ::testing::PrintToString(row.text.substr(0, 60)) << ", "
          << row.caret << ", " << ::testing::PrintToString(row.allowed) << ", " << ::testing::PrintToString(row.delimiter) << ")";
    }
  }
}

Cleaned Ok(std::u16string text, std::int32_t caret) { return Cleaned{std::move(text), caret}; }

TEST(CleanTextTest, GivesTheWorkedResults) {
  const std::u16string x = u"0123456789x", colons = u"0123456789::";
  const std::vector<CleanRow> rows = {
      {u"1,2.3", 5, Ok(u"12.3", 4)}, {u"12,34,56", 8, Ok(u"1234.56", 7)}, {u"1.2.34", 2, Ok(u"1.234", 2)},
      {u"1.23.", 5, Ok(u"123.", 4)}, {u"1..2", 2, Ok(u"1.2", 2)}, {u"5.2.7", 0, Ok(u"5.27", 0)},
      {u"0,5000", 0, Ok(u"0.5000", 0)}, {u".", 1, Ok(u"0.", 2)}, {u".5", 0, Ok(u"0.5", 1)},
      {u"1a2", 3, Ok(u"12", 2)}, {u"1a2", 1, Ok(u"1a2", 1)}, {u"-0.0196", 7, Ok(u"0.0196", 6)},
      {u"x.y", 3, Ok(u"0.", 2)}, {u"ab", 2, Ok(u"", 0)}, {u"1^2.3", 0, Ok(u"1.2.3", 0)}, {u"1^2.5", 2, Ok(u"1.2.5", 2)},
      {u"", 0, Ok(u"", 0)}, {u"a,b,c", 0, Ok(u"a.bc", 0)}, {u"-1,2.3x", 0, Ok(u"-1.23x", 0)}, {u"..", 0, Ok(u"0.", 1)},
      {u"1^2^3", 5, Ok(u"1.2.3", 5)}, {u"a1,2b.3c", 8, Ok(u"12.3", 4)}, {u".,.", 3, Ok(u"0.", 2)},
      {u"1.23,4", 5, Ok(u"123.4", 4)}, {u"1,2,3", 2, Ok(u"1.23", 2)}, {u"1^2.3^4", 5, Ok(u"12.3^4", 4)},
      {u"12.", 3, Ok(u"12.", 3)}, {u"1.2.3.4", 6, Ok(u"123.4", 4)}, {u"aa1", 3, Ok(u"1", 1)},
      {u"1--2", 4, Ok(u"12", 2)}, {u"ab.cd", 3, Ok(u"0.cd", 2)}, {u"1 2", 3, Ok(u"12", 2)},
      // A caret beyond the end: positions past the end hold the empty text,
      // which is allowed, so only real characters go.
      {u"", 5, Ok(u"", 5)}, {u"1a", 5, Ok(u"1", 4)}, {u"1.2.", 9, Ok(u"12.", 8)}, {u".", 3, Ok(u"0.", 4)},
      // The fallback delimiter "^": no delimiter survives.
      {u"1,2^3", 5, Ok(u"123", 3), kDigits, u"^"}, {u"^5", 2, Ok(u"5", 1), kDigits, u"^"},
      {u"1^2^3", 0, Ok(u"123", 0), kDigits, u"^"}, {u"^,^", 3, Ok(u"", 0), kDigits, u"^"},
      {u"1^a,b", 1, Ok(u"1ab", 1), kDigits, u"^"},
      // Comparisons go through the locale: case and width variants match
      // (the survivor is written as the delimiter itself), accents do not.
      {u"1X2x3", 0, Ok(u"1x23", 0), x, u"x"}, {u"1X2x3", 5, Ok(u"12x3", 4), x, u"x"}, {u"X5", 0, Ok(u"0x5", 1), x, u"x"},
      {u"ABCd", 4, Ok(u"ABC", 3), u"abc."}, {u"\uFF112", 2, Ok(u"\uFF112", 2)}, {u"1\uFF0E2.3", 0, Ok(u"1.23", 0)},
      {u"1\uFF0C2", 3, Ok(u"1.2", 3)}, {u"1\uFF3E2", 0, Ok(u"1.2", 0)}, {u"\u00E4a1", 3, Ok(u"a1", 2), u"0123456789a."},
      // Delimiters of several code units take the step-by-step path.
      // (the tail restarts inside the surviving one; the "0" goes in front
      // only when the first unit alone equals the delimiter).
      {u"1::2::3", 4, Ok(u"1:::23", 4), colons, u"::"}, {u"1,2a", 4, Ok(u"1:::2a", 4), colons, u"::"},
      {u"::5", 0, Ok(u"::5", 0), colons, u"::"},
      {u"1.2", -1, kInvalid}, {u"", std::numeric_limits<std::int32_t>::min(), kInvalid}, {u"1.2", 3, kInvalid, kDigitsDot, u""},
  };
  for (const char* locale : kLocales) ExpectRows(rows, locale);
}

std::u16string Digits(std::size_t count) {
  std::u16string s(count, u'0');
  for (std::size_t k = 0; k < count; ++k) s[k] = static_cast<char16_t>(u'0' + k % 10);
  return s;
}

// The scan index is 16 bits: reaching position 32,767 overflows, with a
// delimiter of one code unit or of several, and carets near the 32-bit limit
// overflow too rather than wrap.
TEST(CleanTextTest, OverflowsExactlyWhenTheScanReachesPosition32767) {
  std::vector<CleanRow> rows;
  for (const std::u16string_view delimiter : {u".", u"::"}) {
    const std::u16string d(delimiter), allowed = kDigits + d;
    std::vector<CleanRow> table = {
        {Digits(32767), 32767, kOverflow},
        {Digits(32766), 32766, Ok(Digits(32766), 32766)},
        // Position 32,767 fails even when its character would be removed.
        {Digits(32766) + u"x", 32767, kOverflow},
        {u"x" + Digits(32767), 32768, kOverflow},
        {u"xy" + Digits(32766), 32768, Ok(Digits(32766), 32766)},
        {u"1", 32766, Ok(u"1", 32766)},
        {u"1", 32767, kOverflow},
        {u"", kInt32Max, kOverflow},
        {u"5" + d, kInt32Max, kOverflow},
        {u"5" + d + d + u"5", kInt32Max - 1, kOverflow},
    };
    if (d == u".") {
      table.insert(table.end(), {{Digits(40000), 32766, Ok(Digits(40000), 32766)},
                                 {Digits(32765) + u"ab", 32767, Ok(Digits(32765), 32765)},
                                 {std::u16string(32800, u'q'), 32800, Ok(u"", 0)},
                                 {u"." + Digits(32765), 32766, Ok(u"0." + Digits(32765), 32767)},
                                 {u"," + Digits(39999), 0, Ok(u"0." + Digits(39999), 1)}});
    }
    for (CleanRow row : table) {
      row.allowed = allowed;
      row.delimiter = delimiter;
      rows.push_back(row);
    }
  }
  ExpectRows(rows, "en_US");
}

constexpr char16_t kHighSurrogate = 0xD800, kLowSurrogate = 0xDC00;

std::u16string RandomText(std::mt19937& rng, std::u16string_view alphabet, std::size_t length) {
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::u16string s(length, u' ');
  for (auto& c : s) c = alphabet[pick(rng)];
  return s;
}

// Mostly inside the text, sometimes at its ends or beyond the end.
std::int32_t RandomCaret(std::mt19937& rng, std::size_t length) {
  const auto len = static_cast<std::int32_t>(length);
  switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
    case 0: return 0;
    case 1: case 2: return len;
    case 3: return len + std::uniform_int_distribution<std::int32_t>(1, 3)(rng);
    default: return std::uniform_int_distribution<std::int32_t>(0, len)(rng);
  }
}

void ExpectSameAsOracle(std::uint32_t seed, const char* locale, std::u16string_view text, std::int32_t caret,
                        std::u16string_view allowed, std::u16string_view delimiter) {
  const Outcome fast = Clean(&CleanText, text, caret, allowed, delimiter, LocaleNamed(locale));
  EXPECT_EQ(fast, Clean(&oracle::CleanText, text, caret, allowed, delimiter, LocaleNamed(locale)))
      << "seed " << seed << " in " << locale << ": CleanText(" << ::testing::PrintToString(std::u16string(text)) << ", "
      << caret << ", " << ::testing::PrintToString(std::u16string(allowed)) << ", "
      << ::testing::PrintToString(std::u16string(delimiter)) << ")";
}

// Every case seeds its generator with a fixed number plus its index; the
// seed in a failure message reproduces it.
TEST(CleanTextPropertyTest, ProductionMatchesTheOracleOnTheBindingsSets) {
  // Digits and delimiters come up most, as they do in a box.
  const std::u16string alphabet = u"0123456789012345678901234567890123456789....,,,,^^^aAzZ- \u00E4\uFF11";
  const std::u16string_view setups[][2] = {{u"0123456789.", u"."}, {u"0123456789^", u"^"}, {kDigits, u"^"}};
  std::uint32_t seed = 0x5EED2024u;
  for (const char* locale : kLocales) {
    for (const auto& setup : setups) {
      for (int k = 0; k < 1150 && !HasFailure(); ++k, ++seed) {
        std::mt19937 rng(seed);
        const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 40)(rng);
        const std::u16string text = RandomText(rng, alphabet, length);
        ExpectSameAsOracle(seed, locale, text, RandomCaret(rng, length), setup[0], setup[1]);
      }
    }
  }
}

// Control characters, NUL, lone surrogates, ignorable and width variants,
// odd delimiters (several units among them) and allowed sets.
TEST(CleanTextPropertyTest, ProductionMatchesTheOracleOnHostileInput) {
  const std::u16string alphabet{u'0', u'1', u'.', u',', u'^', u'a', u'\0', u'\x01', u'\x1F', u'\x7F', u'\u200B',
                                u'\u00AD', kHighSurrogate, kLowSurrogate, u'\uFF0E', u'\uFF0C', u'\uFF3E', u'\u0301',
                                u'\uFEFF', u'\uFFFF', u'A'};
  const std::u16string delimiters[] = {u".", u"^", std::u16string(1, u'\0'), u"\uFF0E", u"a", u"..", u".,",
                                       std::u16string(u"\0.", 2), std::u16string(1, kHighSurrogate)};
  const std::u16string allowed_sets[] = {u"0123456789", u"", std::u16string(1, u'\0'), u"a\u0301",
                                         std::u16string{kLowSurrogate, u'\u200B'}};
  std::uint32_t seed = 0x5EED2024u + 200000;
  for (const char* locale : kLocales) {
    for (const auto& delimiter : delimiters) {
      for (const auto& allowed : allowed_sets) {
        for (int k = 0; k < 18 && !HasFailure(); ++k, ++seed) {
          std::mt19937 rng(seed);
          const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 24)(rng);
          const std::u16string text = RandomText(rng, alphabet, length);
          const std::int32_t caret = k == 0 ? -1 - static_cast<std::int32_t>(length) : RandomCaret(rng, length);
          ExpectSameAsOracle(seed, locale, text, caret, k % 2 == 0 ? allowed + delimiter : allowed, delimiter);
        }
      }
    }
  }
}

// Texts around the scan limit, a few other characters shifting the scan.
TEST(CleanTextPropertyTest, ProductionMatchesTheOracleAroundTheScanLimit) {
  const std::u16string mix = u"0123456789012345678901234567890123456789.,a";
  std::uint32_t seed = 0x5EED2024u + 100000;
  for (const std::size_t length : {32766u, 32767u, 32769u}) {
    for (int variant = 0; variant < 2; ++variant, ++seed) {
      std::mt19937 rng(seed);
      std::u16string text(length, u'7');
      for (int k = std::uniform_int_distribution<int>(0, 4)(rng); k > 0; --k) {
        text[std::uniform_int_distribution<std::size_t>(0, length - 1)(rng)] =
            mix[std::uniform_int_distribution<std::size_t>(0, mix.size() - 1)(rng)];
      }
      const auto caret = variant == 0 ? static_cast<std::int32_t>(length)
                                      : std::uniform_int_distribution<std::int32_t>(32760, static_cast<std::int32_t>(length) + 2)(rng);
      ExpectSameAsOracle(seed, "en_US", text, caret, variant == 0 ? kDigitsDot : kDigits, variant == 0 ? u"." : u"^");
    }
  }
}

}  // namespace
}  // namespace pigmo::restriction
