// Engine code runs inside two kinds of frames that no C++ exception may
// leave: the library's exported functions (a C caller cannot catch it) and
// the handlers Qt calls from its event loop (Qt is not exception safe).
// Whatever is thrown there is said as an error message instead.
#pragma once

#include <functional>

namespace dorvex {

// Runs `body`; false when it threw (the message has then been shown).
bool RunGuarded(const std::function<void()>& body) noexcept;

} // namespace dorvex
