// Lock keys where the build has no windowing system that reports them.
#include "app/LockKeys.h"

namespace tickerlux::app {

std::optional<LockKeyState> QueryLockKeys()
{
    return std::nullopt;
}

} // namespace tickerlux::app
