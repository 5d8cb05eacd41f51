// Form1, the program's only window, as data: its properties and its fifteen
// controls with geometry in twips, fonts, colours, start texts, rules and
// tab order. Every backend builds the real window from this table.
#pragma once

#include <string_view>

#include "runtime/form_spec.h"

namespace pigmo::window {

const runtime::FormSpec& Form1Description();

// The About message shown by Command1, with its CR LF line breaks.
std::u16string_view AboutText();
std::u16string_view AboutTitle();

}  // namespace pigmo::window
