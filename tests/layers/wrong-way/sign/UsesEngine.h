#pragma once

// A protocol header that reaches up into the engine: the layer check must refuse it.
#include "engine/TickerluxEngine.h"
#include "sign/AlphaProtocol.h"

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::sign;
using namespace tickerlux::link;
using namespace tickerlux::engine;

