#pragma once

// A protocol header that reaches up into the engine: the layer check must refuse it.
#include "engine/TickerluxEngine.h"
#include "sign/AlphaProtocol.h"
