#pragma once
// The features dialog's label query against the catalogue: the labels of the software that the
// catalogue's device register records for the interface, joined on model code and software id.
// The controller serial travels as a bound parameter. Runs on the calling (window) thread, with
// its own read-only connection; any failure leaves the caller's labels as they are.
#include "catalogue/CatalogueDb.h"
#include "settings/windows/SettingsServices.h"

SqlStatement FeatureLabelStatement(const std::u16string& mcuSerial);

class CatalogueFeatureLabels : public FeatureLabelSource {
  public:
    explicit CatalogueFeatureLabels(const CatalogueDb& db) : db_(db) {}

    bool QueryFeatureLabels(const std::u16string& mcuSerial,
                            const std::function<void(int, const std::u16string&)>& onRow) override;

  private:
    const CatalogueDb& db_;
};
