#include "runtime/form_spec.h"

#include <algorithm>

namespace pigmo::runtime {

std::vector<const ControlSpec*> TabStops(const FormSpec& description) {
  std::vector<const ControlSpec*> stops;
  for (const ControlSpec& c : description.controls) {
    if (c.kind != ControlKind::kLabel) stops.push_back(&c);
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](const ControlSpec* a, const ControlSpec* b) { return a->tab_index < b->tab_index; });
  return stops;
}

}  // namespace pigmo::runtime
