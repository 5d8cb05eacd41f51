// Shared by the fuzz targets: input bytes read front to back (zeros or empty
// texts once they run dry; texts as UTF-16LE), the locales, and calls compared
// by their outcome shown exactly: the result, or the runtime error's kind.
// Anything else thrown, and a finding's abort, libFuzzer reports.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/error.h"
#include "runtime/locale.h"

namespace pigmo::fuzz {

struct Bytes {
  const std::uint8_t* data;
  std::size_t size, at = 0;
  std::uint8_t Byte() { return at < size ? data[at++] : 0; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
  std::u16string Units(std::size_t count = SIZE_MAX) {  // an odd last byte is dropped
    std::u16string out;
    while (out.size() < count && size - at >= 2) out.push_back(static_cast<char16_t>(U16()));
    return out;
  }
};

// Built once, in a fixed order, so a saved input replays in the same locale.
inline const runtime::Locale& Locale(std::size_t pick) {
  using runtime::Locale;
  static const Locale all[] = {Locale::Named("C"),     Locale::Named("en_US"), Locale::Named("de_DE"),
                               Locale::Named("fa_IR"), Locale::Named("fr_FR"), Locale::Named("ar_EG")};
  return all[pick % 6];
}

// ASCII as is, everything else as \uXXXX: one text, one rendering.
inline std::string Show(std::u16string_view s) {
  std::string out = "\"";
  char buf[8];
  for (const char16_t c : s) {
    out.append(buf, std::snprintf(buf, sizeof buf, c >= 0x20 && c < 0x7F && c != u'\\' && c != u'"' ? "%c" : "\\u%04X", unsigned{c}));
  }
  return out + "\"";
}
inline std::string Show(double d) {  // 17 digits tell every double apart, -0 included
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", d);
  return buf;
}
inline std::string Show(std::int32_t n) { return std::to_string(n); }
inline std::string Show(runtime::ErrorKind kind) { return std::string("error ") + runtime::ErrorKindName(kind); }

template <typename Call>
std::string Outcome(Call&& call) try {
  return Show(call());
} catch (const runtime::Error& error) {
  return Show(error.kind());
}

inline void Expect(const std::string& got, const std::string& want, const std::string& call) {
  if (got != want) std::fprintf(stderr, "\n=== FINDING: %s gave %s, expected %s\n", call.c_str(), got.c_str(), want.c_str());
  if (got != want) std::abort();
}

}  // namespace pigmo::fuzz
