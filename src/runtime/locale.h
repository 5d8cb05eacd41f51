// Locale services: the decimal separator of the user's locale and its
// case-insensitive, locale-aware text comparison.
//
// Nothing here reads or sets the process-wide C locale; every rule takes a
// Locale explicitly so that its result depends only on its arguments.
// Numbers are always written with ASCII digits, whatever the locale.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace pigmo::runtime {

// The name a locale is known by: `requested` without codeset or modifier
// ("de_DE.UTF-8@euro" gives "de_DE"); empty, "C" and "POSIX" give "C".
// Every platform's locale service names its locales so.
std::string LocaleName(std::string_view requested);

class Locale {
 public:
  // The user's locale as the environment names it: LC_ALL, then LC_NUMERIC,
  // then LANG; unset, empty, "C" and "POSIX" mean the neutral "C" locale
  // (decimal point ".", root comparison).
  static Locale FromEnvironment();

  // A named locale, in POSIX ("de_DE.UTF-8", "fr_FR@euro") or ICU ("de-DE")
  // form. "C" and "POSIX" give the neutral locale.
  static Locale Named(std::string_view name);

  // The name as given, without codeset or modifier ("de_DE", "C").
  const std::string& Name() const;

  // The decimal separator numbers are read and written with: "." in the C
  // locale and en_US, "," in de_DE and fr_FR, U+066B in fa_IR.
  const std::u16string& DecimalSeparator() const;

  // True when the two texts compare equal under this locale's collation at
  // a strength that ignores letter case (and width variants). Texts of
  // different length may compare equal (ignorable characters).
  bool TextEquals(std::u16string_view a, std::u16string_view b) const;

  // The same locale, writing and reading numbers with another separator.
  Locale WithDecimalSeparator(std::u16string separator) const;

 private:
  struct Impl;
  explicit Locale(std::shared_ptr<const Impl> impl);
  std::shared_ptr<const Impl> impl_;
};

}  // namespace pigmo::runtime
