#include "runtime/form_spec.h"

#include <algorithm>

namespace pigmo::runtime {

std::vector<const ControlSpec*> InTabOrder(const FormSpec& description) {
  std::vector<const ControlSpec*> order;
  for (const ControlSpec& c : description.controls) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(),
                   [](const ControlSpec* a, const ControlSpec* b) { return a->tab_index < b->tab_index; });
  return order;
}

}  // namespace pigmo::runtime
