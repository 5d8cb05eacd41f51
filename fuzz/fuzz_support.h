// Shared by the fuzz targets: fuzz bytes read as UTF-16, the locales a
// target runs in, outcomes (a result or an error kind) and the one way a
// target reports a finding (print what it saw, then abort so that libFuzzer
// saves the input).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "runtime/error.h"
#include "runtime/locale.h"

namespace pigmo::fuzz {

// Reads fuzz input front to back; runs dry quietly (zeros, empty texts).
struct Bytes {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;

  std::uint8_t Byte() { return at < size ? data[at++] : 0; }
  std::uint16_t U16() {
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | Byte() << 8);
  }
  // Up to `count` code units, little-endian; an odd last byte is dropped.
  std::u16string Units(std::size_t count = SIZE_MAX) {
    std::u16string out;
    while (out.size() < count && size - at >= 2) out.push_back(static_cast<char16_t>(U16()));
    return out;
  }
};

// Built once per process, in a fixed order, so that the byte that picks one
// replays in the same locale.
inline std::vector<runtime::Locale> MakeLocales(std::initializer_list<const char*> names) {
  std::vector<runtime::Locale> out;
  for (const char* name : names) out.push_back(runtime::Locale::Named(name));
  return out;
}

// ASCII as is, everything else as \uXXXX.
inline std::string Show(std::u16string_view s) {
  std::string out = "\"";
  for (const char16_t c : s) {
    char buf[8];
    std::snprintf(buf, sizeof buf, c >= 0x20 && c < 0x7F && c != u'\\' && c != u'"' ? "%c" : "\\u%04X", unsigned{c});
    out += buf;
  }
  return out + "\"" + (s.size() > 80 ? " (" + std::to_string(s.size()) + " units)" : "");
}

// A result, or the kind of runtime error thrown. Anything else thrown leaves
// the target, and libFuzzer reports it.
template <typename T>
using Outcome = std::variant<T, runtime::ErrorKind>;

template <typename T, typename Call>
Outcome<T> Run(Call&& call) {
  try {
    return call();
  } catch (const runtime::Error& error) {
    return error.kind();
  }
}

template <typename T, typename Show>
std::string Describe(const Outcome<T>& o, Show&& show) {
  if (const T* value = std::get_if<T>(&o)) return show(*value);
  return std::string("error ") + runtime::ErrorKindName(std::get<runtime::ErrorKind>(o));
}

[[noreturn]] inline void Finding(const std::string& what) {
  std::fprintf(stderr, "\n=== FINDING: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace pigmo::fuzz
