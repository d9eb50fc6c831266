#pragma once
// The headless harness's search panel: the widget-free panel, readable by tests.
#include "catalogue/MemorySearchPanel.h"

using HarnessSearchPanel = MemorySearchPanel;
