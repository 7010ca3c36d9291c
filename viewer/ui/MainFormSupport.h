// What the main window's source files share: field numbers as the boxes
// bind them, and UTF-8 texts of the cores as the windows show them.
#pragma once

#include "FieldNames.h"
#include "QtText.h"

namespace kovra {

constexpr int F(Field f) { return static_cast<int>(f); }

} // namespace kovra
