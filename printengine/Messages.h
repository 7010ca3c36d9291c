// How the engine speaks: its texts come from the program's catalogue
// (MessageTexts.h) and are said through the prompter (Prompter.h), which the
// library's windows show as message boxes, `kovra` prints to stderr, and
// tests collect.
#pragma once

#include "MessageTexts.h"
#include "Prompter.h"

namespace dorvex {

using kovra::Say;
using kovra::Tone;
namespace msg = kovra::msg;

} // namespace dorvex
