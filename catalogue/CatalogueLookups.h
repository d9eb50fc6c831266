#pragma once
// The synchronous catalogue lookups of the window's thread, each on its own read-only connection.
// A lookup that cannot connect, or whose statement fails, answers false and changes nothing
// (LookUpHidBootloader tells that case apart).
#include <string>

#include "app/UpdaterContext.h"
#include "catalogue/CatalogueDb.h"
#include "catalogue/HidBootloaderLookup.h"
#include "catalogue/SearchPanel.h"

// Loads the entry of result row selectedRow (its make and model texts, SearchRows' sw_id and
// sw_build, mfg_id) into the software record, image length and digest included. False when no
// row is selected (-1 or past the list), or the catalogue no longer has the entry; the record then
// keeps its earlier values. With several matching rows the last one read counts. An entry listed
// without a build number is found by its empty build, never by build 0.
bool LoadSelectedSoftware(UpdaterContext& ctx, const SearchPanel& panel, const CatalogueDb& db);

// Reads SW_LENGTH and SW_MD5 of the entry now in the software record (by its id), for an entry
// that the upgrade lookup loaded without them. False, record unchanged, when the entry is gone.
bool LoadImageDetails(UpdaterContext& ctx, const CatalogueDb& db);

// Present when the model's tolvanehw row has hw_hid 1 (the last row counts; no row is 0), Absent
// otherwise; LookupFailed, with the driver's message, when the catalogue cannot be reached or the
// statement fails.
HidBootloaderLookup LookUpHidBootloader(const std::u16string& mfgId, const CatalogueDb& db);

// The connect-time question: a failed lookup counts as a model without HID bootloader.
bool HasHidBootloader(const std::u16string& mfgId, const CatalogueDb& db);
