// Lock keys where the build has no windowing system that reports them.
#include "app/LockKeys.h"

std::optional<LockKeyState> QueryLockKeys()
{
    return std::nullopt;
}
