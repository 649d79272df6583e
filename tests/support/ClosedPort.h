#pragma once

namespace tickerlux::test {

// A TCP port on 127.0.0.1 that nothing listens on: bound for a moment and given back.
int ClosedPort();

} // namespace tickerlux::test
