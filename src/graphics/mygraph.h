#pragma once

// Graphics primitives: the drawing surface, shapes and on-screen handles.
#include "graphics/canvas.h"
