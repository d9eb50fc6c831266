#pragma once
// The windows and the machine as the main controller sees them, gathered for its constructor.
#include "app/ports/DeviceAreaPort.h"
#include "app/ports/FeatureResultPort.h"
#include "app/ports/MainTimerPort.h"
#include "app/ports/MessagePort.h"
#include "app/ports/ProgressDialogPort.h"
#include "app/ports/SearchAreaPort.h"
#include "app/ports/SystemPort.h"
#include "catalogue/SearchPanel.h"

struct ControllerPorts {
    DeviceAreaPort& deviceArea;
    SearchAreaPort& searchArea;
    SearchPanel& searchPanel;
    ProgressDialogPort& progress;
    FeatureResultPort& features;
    MessagePort& messages;
    MainTimerPort& timer;
    SystemPort& system;
};
