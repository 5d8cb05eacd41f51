#include "runtime/locale.h"

#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>

#include <unicode/coll.h>
#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>

namespace pigmo::runtime {

namespace {

std::u16string FromUnicodeString(const icu::UnicodeString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.getBuffer()), static_cast<size_t>(s.length()));
}

// ICU's locale data is loaded on first use, not when the locale is named:
// the program names the user's locale at start-up, and loading the
// collation and number symbols there would make every start slower and
// heavier even though nothing is compared or formatted until the first edit.
class IcuData {
 public:
  explicit IcuData(std::string name) : name_(std::move(name)) {}

  const std::u16string& DecimalSeparator() const {
    Load();
    return decimal_separator_;
  }
  const icu::Collator& Collator() const {
    Load();
    return *collator_;
  }

 private:
  void Load() const {
    std::call_once(loaded_, [this] {
      const icu::Locale locale = name_ == "C" ? icu::Locale::getRoot() : icu::Locale::createCanonical(name_.c_str());
      UErrorCode status = U_ZERO_ERROR;
      icu::DecimalFormatSymbols symbols(locale, status);
      if (U_SUCCESS(status)) {
        decimal_separator_ =
            FromUnicodeString(symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
      }
      if (decimal_separator_.empty()) decimal_separator_ = u".";

      status = U_ZERO_ERROR;
      collator_.reset(icu::Collator::createInstance(locale, status));
      if (U_FAILURE(status) || !collator_) {
        status = U_ZERO_ERROR;
        collator_.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
      }
      // Secondary strength: base letters and accents count, case and width do not.
      collator_->setStrength(icu::Collator::SECONDARY);
    });
  }

  std::string name_;
  mutable std::once_flag loaded_;
  mutable std::u16string decimal_separator_;
  mutable std::unique_ptr<icu::Collator> collator_;
};

}  // namespace

struct Locale::Impl {
  std::string name;
  std::optional<std::u16string> decimal_separator;  // overrides the locale's own
  std::shared_ptr<const IcuData> data;              // shared between copies
};

Locale::Locale(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}

Locale Locale::Named(std::string_view requested) {
  auto impl = std::make_shared<Impl>();
  impl->name = LocaleName(requested);
  impl->data = std::make_shared<const IcuData>(impl->name);
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

const std::u16string& Locale::DecimalSeparator() const {
  return impl_->decimal_separator ? *impl_->decimal_separator : impl_->data->DecimalSeparator();
}

bool Locale::TextEquals(std::u16string_view a, std::u16string_view b) const {
  if (a == b) return true;
  UErrorCode status = U_ZERO_ERROR;
  const auto result =
      impl_->data->Collator().compare(reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                                      reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()), status);
  return U_SUCCESS(status) && result == UCOL_EQUAL;
}

Locale Locale::WithDecimalSeparator(std::u16string separator) const {
  auto impl = std::make_shared<Impl>(*impl_);
  impl->decimal_separator = std::move(separator);
  return Locale(std::move(impl));
}

}  // namespace pigmo::runtime
