// Shared pieces of the numeric filter tests: the two implementations side by
// side, outcomes that hold either a result or an error kind, readable texts
// for failure messages, and a per-name cache of locales.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"
#include "runtime/error.h"
#include "runtime/locale.h"

namespace pigmo::restriction::testing {

// Shows a UTF-16 text with ASCII as is and everything else as \uXXXX.
inline std::string Show(std::u16string_view s) {
  std::ostringstream out;
  out << '"';
  for (const char16_t c : s) {
    if (c >= 0x20 && c < 0x7F && c != u'\\' && c != u'"') {
      out << static_cast<char>(c);
    } else {
      static const char* hex = "0123456789ABCDEF";
      out << "\\u" << hex[(c >> 12) & 0xF] << hex[(c >> 8) & 0xF] << hex[(c >> 4) & 0xF] << hex[c & 0xF];
    }
  }
  out << '"';
  if (s.size() > 60) out << " (" << s.size() << " units)";
  return out.str();
}

inline std::string Show(const Cleaned& c) {
  return "{" + Show(c.text) + ", caret " + std::to_string(c.caret) + "}";
}

inline void PrintTo(const Cleaned& c, std::ostream* os) { *os << Show(c); }

// What one call gave: a result, a runtime error of some kind, or some other
// exception (always a fault).
struct Outcome {
  enum class Type { kResult, kError, kForeign } type = Type::kResult;
  Cleaned result;
  runtime::ErrorKind kind = runtime::ErrorKind::kOverflow;
  std::string foreign;

  friend bool operator==(const Outcome& a, const Outcome& b) {
    if (a.type != b.type) return false;
    switch (a.type) {
      case Type::kResult: return a.result == b.result;
      case Type::kError: return a.kind == b.kind;
      case Type::kForeign: return false;
    }
    return false;
  }
};

inline std::string Show(const Outcome& o) {
  switch (o.type) {
    case Outcome::Type::kResult: return Show(o.result);
    case Outcome::Type::kError: return std::string("error: ") + runtime::ErrorKindName(o.kind);
    case Outcome::Type::kForeign: return "unexpected exception: " + o.foreign;
  }
  return "?";
}

inline void PrintTo(const Outcome& o, std::ostream* os) { *os << Show(o); }

inline Outcome Capture(const std::function<Cleaned()>& call) {
  Outcome o;
  try {
    o.result = call();
  } catch (const runtime::Error& e) {
    o.type = Outcome::Type::kError;
    o.kind = e.kind();
  } catch (const std::exception& e) {
    o.type = Outcome::Type::kForeign;
    o.foreign = e.what();
  }
  return o;
}

inline Outcome Ok(std::u16string text, std::int32_t caret) {
  Outcome o;
  o.result = Cleaned{std::move(text), caret};
  return o;
}

inline Outcome Err(runtime::ErrorKind kind) {
  Outcome o;
  o.type = Outcome::Type::kError;
  o.kind = kind;
  return o;
}

using CleanFn = Cleaned (*)(std::u16string_view, std::int32_t, std::u16string_view, std::u16string_view,
                            const runtime::Locale&);
using InstrPrevFn = std::int32_t (*)(std::u16string_view, std::u16string_view, std::int32_t,
                                     const runtime::Locale&);

struct Implementation {
  const char* name;
  CleanFn clean;
  InstrPrevFn instr_prev;
};

inline const Implementation kImplementations[] = {
    {"production", &restriction::CleanText, &restriction::InstrPrev},
    {"oracle", &oracle::CleanText, &oracle::InstrPrev},
};

inline Outcome Clean(CleanFn fn, std::u16string_view text, std::int32_t caret, std::u16string_view allowed,
                     std::u16string_view delimiter, const runtime::Locale& locale) {
  return Capture([&] { return fn(text, caret, allowed, delimiter, locale); });
}

// Locales are costly to build; tests share one per name.
inline const runtime::Locale& LocaleNamed(const std::string& name) {
  static std::map<std::string, runtime::Locale> cache;
  auto found = cache.find(name);
  if (found == cache.end()) found = cache.emplace(name, runtime::Locale::Named(name)).first;
  return found->second;
}

inline constexpr const char* kLocales[] = {"C", "en_US", "de_DE", "fa_IR"};

}  // namespace pigmo::restriction::testing
