#pragma once

// Shared utilities: number formats, start-up values, strings, folders and versions.
#include "util/format.h"
#include "util/misc.h"
#include "util/nestedlist.h"
#include "util/startup.h"
