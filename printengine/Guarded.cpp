#include "Guarded.h"

#include "Messages.h"

#include <exception>
#include <new>

namespace dorvex {
namespace {

void SayFailure(const char* detail) noexcept
{
    try {
        Say(Tone::Error, msg::UnexpectedError(detail));
    } catch (...) {
        // Nothing left to say it with (no memory, or the message sink
        // itself failed): the caller still gets its failure result.
    }
}

} // namespace

bool RunGuarded(const std::function<void()>& body) noexcept
{
    try {
        body();
        return true;
    } catch (const std::bad_alloc&) {
        SayFailure(msg::kOutOfMemoryDetail.data());
    } catch (const std::exception& ex) {
        SayFailure(ex.what());
    } catch (...) {
        SayFailure(nullptr);
    }
    return false;
}

} // namespace dorvex
