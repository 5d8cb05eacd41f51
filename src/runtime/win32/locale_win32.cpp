// Locale services from Windows' national language support (no ICU).
//
// The decimal separator is LOCALE_SDECIMAL. The user's locale keeps the
// user's own overrides from the regional settings, as the program's numbers
// are typed by that user; a locale named explicitly uses the locale's stock
// data (LOCALE_NOUSEROVERRIDE), so it reads the same on every machine.
//
// Text comparison is CompareStringEx with
//   NORM_IGNORECASE      letter case does not count ("b" equals "B");
//   NORM_IGNOREWIDTH     half- and full-width forms of a character are equal;
//   NORM_IGNOREKANATYPE  Hiragana and Katakana forms of a syllable are equal.
// These are the flags of the classic case-insensitive text comparison, and
// they match ICU's secondary strength used elsewhere: accents, symbols and
// punctuation still count ("." differs from ","), so no NORM_IGNORENONSPACE
// and no NORM_IGNORESYMBOLS.
#include <windows.h>

#include <string>

#include "runtime/locale.h"

namespace pigmo::runtime {

struct Locale::Impl {
  std::string name;           // as given (or as Windows names the user's)
  std::wstring windows_name;  // what the NLS functions take; L"" = invariant
  std::u16string decimal_separator;
};

namespace {

constexpr DWORD kCompareFlags = NORM_IGNORECASE | NORM_IGNOREWIDTH | NORM_IGNOREKANATYPE;

// "de_DE" and "de-DE" both name German (Germany) to Windows.
std::wstring ToWindowsName(std::string_view name) {
  std::wstring out;
  out.reserve(name.size());
  for (char c : name) out.push_back(c == '_' ? L'-' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text != L'\0'; ++text) out.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
  return out;
}

std::u16string DecimalSeparatorOf(const wchar_t* locale_name, LCTYPE extra_flags) {
  wchar_t buffer[8] = {};  // LOCALE_SDECIMAL holds at most 4 characters
  const int written = GetLocaleInfoEx(locale_name, LOCALE_SDECIMAL | extra_flags, buffer, 8);
  if (written <= 1) return u".";
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(written - 1));
}

}  // namespace

Locale::Locale(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}

Locale Locale::Named(std::string_view requested) {
  auto impl = std::make_shared<Impl>();
  impl->name = LocaleName(requested);
  if (impl->name != "C") {
    std::wstring windows_name = ToWindowsName(impl->name);
    // An unknown name falls back to the invariant locale, as ICU falls back
    // to its root.
    if (IsValidLocaleName(windows_name.c_str())) impl->windows_name = std::move(windows_name);
  }
  impl->decimal_separator = impl->windows_name.empty()
                                ? std::u16string(u".")
                                : DecimalSeparatorOf(impl->windows_name.c_str(), LOCALE_NOUSEROVERRIDE);
  return Locale(std::move(impl));
}

// On Windows the user's locale is the one chosen in the regional settings;
// the POSIX variables play no part.
Locale Locale::FromEnvironment() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  if (GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) <= 1) return Named("C");
  auto impl = std::make_shared<Impl>();
  impl->name = Narrow(name);
  impl->windows_name = name;
  impl->decimal_separator = DecimalSeparatorOf(LOCALE_NAME_USER_DEFAULT, 0);
  return Locale(std::move(impl));
}

const std::string& Locale::Name() const { return impl_->name; }

const std::u16string& Locale::DecimalSeparator() const { return impl_->decimal_separator; }

bool Locale::TextEquals(std::u16string_view a, std::u16string_view b) const {
  if (a == b) return true;
  if (a.size() > 0x7FFFFFFF || b.size() > 0x7FFFFFFF) return false;
  const int result =
      CompareStringEx(impl_->windows_name.c_str(), kCompareFlags, reinterpret_cast<const wchar_t*>(a.data()),
                      static_cast<int>(a.size()), reinterpret_cast<const wchar_t*>(b.data()),
                      static_cast<int>(b.size()), nullptr, nullptr, 0);
  return result == CSTR_EQUAL;
}

Locale Locale::WithDecimalSeparator(std::u16string separator) const {
  auto impl = std::make_shared<Impl>(*impl_);
  impl->decimal_separator = std::move(separator);
  return Locale(std::move(impl));
}

}  // namespace pigmo::runtime
