#pragma once

// Graphics primitives: the drawing surface, shapes and on-screen handles.
#include "graphics/canvas.h"
#include "graphics/imagelist.h"
#include "graphics/markers.h"
#include "graphics/shapes.h"
