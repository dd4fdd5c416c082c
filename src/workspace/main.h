#pragma once

// The main window: the setup, the view, the run and the shell around them.
#include "workspace/cursors.h"
#include "workspace/mainform.h"
#include "workspace/setup.h"
#include "workspace/toolbaricons.h"
#include "workspace/toothchart.h"
#include "workspace/tooltips.h"
#include "workspace/view.h"
#include "workspace/viewmapping.h"
