#pragma once

// Mechanics primitives: planar geometry, force systems, straight-wire mechanics.
#include "mechanics/forcedraw.h"
#include "mechanics/forcemoment.h"
#include "mechanics/geometry.h"
#include "mechanics/wiremechanics.h"
