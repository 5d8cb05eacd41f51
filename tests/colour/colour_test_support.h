// Helpers shared by the colour rule tests.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/error.h"

namespace pigmo::colour::testing {

// The kind of runtime::Error that `call` throws, or nothing when it returns.
// Any other exception fails the test.
template <typename Call>
std::optional<runtime::ErrorKind> ErrorOf(Call&& call) {
  try {
    std::forward<Call>(call)();
  } catch (const runtime::Error& error) {
    return error.kind();
  } catch (...) {
    ADD_FAILURE() << "threw something other than runtime::Error";
  }
  return std::nullopt;
}

// `text` with every "." replaced by `separator`: the tables are written in
// point notation and run in every locale.
inline std::u16string Localised(std::u16string_view text, std::u16string_view separator) {
  std::u16string out;
  for (const char16_t c : text) {
    if (c == u'.') {
      out += separator;
    } else {
      out += c;
    }
  }
  return out;
}

// A text of `count` copies of `c`.
inline std::u16string Repeat(char16_t c, std::size_t count) { return std::u16string(count, c); }

}  // namespace pigmo::colour::testing
