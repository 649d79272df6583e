#pragma once

// A text helper that reaches up into the settings: the layer check must refuse it.
#include "base/Utf8.h"
#include "settings/TickerluxDoc.h"

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;

