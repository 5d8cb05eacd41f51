#include "runtime/locale.h"

#include <cstdlib>
#include <string>

#include <unicode/coll.h>
#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>

namespace pigmo::runtime {

struct Locale::Impl {
  std::string name;
  std::u16string decimal_separator;
  // Shared between copies; compare() does not modify it.
  std::shared_ptr<const icu::Collator> collator;
};

namespace {

std::string StripCodeset(std::string_view name) {
  const auto cut = name.find_first_of(".@");
  return std::string(name.substr(0, cut));
}

bool IsNeutral(std::string_view name) { return name.empty() || name == "C" || name == "POSIX"; }

std::u16string FromUnicodeString(const icu::UnicodeString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.getBuffer()),
                        static_cast<size_t>(s.length()));
}

}  // namespace

Locale::Locale(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}

Locale Locale::Named(std::string_view requested) {
  auto impl = std::make_shared<Impl>();
  const std::string name = StripCodeset(requested);
  if (IsNeutral(name)) {
    impl->name.assign("C");
  } else {
    impl->name = name;
  }
  const icu::Locale icu_locale =
      IsNeutral(name) ? icu::Locale::getRoot() : icu::Locale::createCanonical(name.c_str());

  UErrorCode status = U_ZERO_ERROR;
  icu::DecimalFormatSymbols symbols(icu_locale, status);
  impl->decimal_separator =
      U_SUCCESS(status)
          ? FromUnicodeString(symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol))
          : u".";
  if (impl->decimal_separator.empty()) impl->decimal_separator = u".";

  status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(icu_locale, status));
  if (U_FAILURE(status) || !collator) {
    status = U_ZERO_ERROR;
    collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
  }
  // Secondary strength: base letters and accents count, case and width do not.
  collator->setStrength(icu::Collator::SECONDARY);
  impl->collator = std::shared_ptr<const icu::Collator>(collator.release());
  return Locale(std::move(impl));
}

Locale Locale::FromEnvironment() {
  for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(var);
    if (value != nullptr && *value != '\0') return Named(value);
  }
  return Named("C");
}

const std::string& Locale::Name() const { return impl_->name; }

const std::u16string& Locale::DecimalSeparator() const { return impl_->decimal_separator; }

bool Locale::TextEquals(std::u16string_view a, std::u16string_view b) const {
  if (a == b) return true;
  UErrorCode status = U_ZERO_ERROR;
  const auto result = impl_->collator->compare(
      reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
      reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()), status);
  return U_SUCCESS(status) && result == UCOL_EQUAL;
}

Locale Locale::WithDecimalSeparator(std::u16string separator) const {
  auto impl = std::make_shared<Impl>(*impl_);
  impl->decimal_separator = std::move(separator);
  return Locale(std::move(impl));
}

}  // namespace pigmo::runtime
