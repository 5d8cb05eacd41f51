#include "restriction/unit_answers.h"

namespace pigmo::restriction {

bool UnitAnswers::Learn(char16_t u, std::uint8_t bit) {
  const auto equals = [&](std::u16string_view text) {
    return locale_.TextEquals(std::u16string_view(&u, 1), text);
  };
  bool answer = false;
  switch (bit) {
    case kDelimiter:
      answer = equals(delimiter_);
      break;
    case kSeparator:
      answer = equals(u",") || Delimiter(u);
      break;
    case kPlaceholder:
      answer = equals(u"^");
      break;
    default:
      // Exact membership needs no collation and gives the same answer, since
      // equal units always compare equal.
      answer = allowed_.find(u) != std::u16string_view::npos;
      for (std::size_t j = 0; !answer && j < allowed_.size(); ++j) answer = equals(allowed_.substr(j, 1));
      break;
  }
  std::uint8_t& slot = Slot(u);
  slot = static_cast<std::uint8_t>(slot | (bit << 4) | (answer ? bit : 0));
  return answer;
}

}  // namespace pigmo::restriction
