#include "EngineState.h"

namespace dorvex {

TEngineState& Engine()
{
    static TEngineState state; // initial values as the library loads
    return state;
}

void ResetEngineState()
{
    Engine() = TEngineState{};
}

void BeginJobMessages()
{
    Engine().ReportedImages.clear();
}

} // namespace dorvex
