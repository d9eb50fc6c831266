#pragma once
// The one program-wide record through which all subsystems meet. One instance is owned by the
// object that builds the program and handed around by reference. Fields touched by two threads
// are atomics or are handed over whole under a short lock (ReportBuffer).
#include "app/ControllerFields.h"
#include "catalogue/CatalogueFields.h"
#include "config/ConfigFields.h"
#include "link/CommandFields.h"
#include "link/EngineFields.h"
#include "link/LinkFields.h"
#include "retrieval/TransferFields.h"

struct UpdaterContext : LinkFields,
                        CommandFields,
                        EngineFields,
                        ConfigFields,
                        CatalogueFields,
                        TransferFields,
                        ControllerFields {
    UpdaterContext() = default;
    UpdaterContext(const UpdaterContext&) = delete;
    UpdaterContext& operator=(const UpdaterContext&) = delete;
};
