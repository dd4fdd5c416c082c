#pragma once

// The dental model: teeth and their types, brackets and attachments, straight wires and
// tooth movement.
#include "model/bracket.h"
#include "model/catalogue.h"
#include "model/tooth.h"
#include "model/wire.h"
