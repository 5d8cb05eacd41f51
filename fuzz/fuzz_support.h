// Shared pieces of the fuzz targets: reading fuzz bytes as UTF-16, the
// locales the targets run in (built once: ICU set-up is slow), and the one
// way a target reports a finding (print what it saw, then abort so that
// libFuzzer saves the input).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/error.h"
#include "runtime/locale.h"

namespace pigmo::fuzz {

// Reads fuzz input front to back; runs dry quietly (zeros, empty texts).
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint16_t U16() {
    const std::uint16_t lo = Byte();
    const std::uint16_t hi = Byte();
    return static_cast<std::uint16_t>(lo | (hi << 8));
  }
  // `count` code units, little-endian (fewer when the input ends).
  std::u16string Units(std::size_t count) {
    std::u16string out;
    while (out.size() < count && size_ - at_ >= 2) out.push_back(static_cast<char16_t>(U16()));
    return out;
  }
  // Everything left, as UTF-16LE code units; an odd last byte is dropped.
  std::u16string Rest() { return Units(static_cast<std::size_t>(-1)); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// The locales a target runs in, built once per process in a fixed order:
// the byte that picks one stays meaningful, so a saved input replays in
// the same locale.
inline std::vector<runtime::Locale> MakeLocales(std::initializer_list<const char*> names) {
  std::vector<runtime::Locale> out;
  for (const char* name : names) out.push_back(runtime::Locale::Named(name));
  return out;
}

// A text for the finding report: ASCII as is, everything else as \uXXXX.
inline std::string Show(std::u16string_view s) {
  std::string out = "\"";
  for (const char16_t c : s) {
    if (c >= 0x20 && c < 0x7F && c != u'\\' && c != u'"') {
      out.push_back(static_cast<char>(c));
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    }
  }
  out += "\"";
  if (s.size() > 80) out += " (" + std::to_string(s.size()) + " units)";
  return out;
}

[[noreturn]] inline void Finding(const std::string& what) {
  std::fprintf(stderr, "\n=== FINDING: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

// What one call gave: a result or the kind of runtime error it threw.
// Anything else thrown leaves the target and libFuzzer reports it (an
// uncaught exception is itself a finding).
template <typename T>
struct Outcome {
  bool ok = false;
  T value{};
  runtime::ErrorKind kind = runtime::ErrorKind::kOverflow;

  std::string Describe(std::string (*show)(const T&)) const {
    return ok ? show(value) : std::string("error ") + runtime::ErrorKindName(kind);
  }
  friend bool operator==(const Outcome& a, const Outcome& b) {
    if (a.ok != b.ok) return false;
    return a.ok ? a.value == b.value : a.kind == b.kind;
  }
};

template <typename T, typename Call>
Outcome<T> Run(Call&& call) {
  Outcome<T> out;
  try {
    out.value = call();
    out.ok = true;
  } catch (const runtime::Error& error) {
    out.kind = error.kind();
  }
  return out;
}

}  // namespace pigmo::fuzz
