#pragma once

// The main window: the setup, the view, the run and the shell around them.
#include "document/setup.h"
#include "graphics/viewmapping.h"
#include "platform/cursors.h"
#include "platform/toolbaricons.h"
#include "platform/tooltips.h"
#include "workspace/mainform.h"
#include "workspace/toothchart.h"
#include "workspace/view.h"
