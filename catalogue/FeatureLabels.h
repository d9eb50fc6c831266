#pragma once
// The catalogue's feature labels: the names of the three inputs the features dialog offers, for
// the software that the device register records for the interface, joined on model code and
// software id, and the table that keeps them across showings of the dialog.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "catalogue/CatalogueDb.h"

struct FeatureLabelRow {
    int index = 0;
    std::u16string text;
};

// Label index -> text. A query adds or replaces the rows it returns and removes none, so labels
// of an earlier interface stay until replaced.
class FeatureLabelTable {
  public:
    void Merge(const std::vector<FeatureLabelRow>& rows);
    const std::u16string* Find(int index) const;

  private:
    std::map<int, std::u16string> labels_;
};

// The labels of one interface, found by its controller serial.
class FeatureLabelSource {
  public:
    virtual ~FeatureLabelSource() = default;
    // Hands every (label index, label text) row to onRow, in index order; false when the query
    // could not be run (the caller keeps the labels it has).
    virtual bool QueryFeatureLabels(const std::u16string& mcuSerial,
                                    const std::function<void(int, const std::u16string&)>& onRow) = 0;
};

// Runs the query and merges its rows into the table. A failed query changes nothing, not even with
// the rows read before it failed. False when it failed.
bool RefreshFeatureLabels(FeatureLabelSource& source, const std::u16string& mcuSerial,
                          FeatureLabelTable& table);

SqlStatement FeatureLabelStatement(const std::u16string& mcuSerial);

// The query against the catalogue. The controller serial travels as a bound parameter. Runs on the
// calling thread with its own read-only connection.
class CatalogueFeatureLabels : public FeatureLabelSource {
  public:
    explicit CatalogueFeatureLabels(const CatalogueDb& db) : db_(db) {}

    bool QueryFeatureLabels(const std::u16string& mcuSerial,
                            const std::function<void(int, const std::u16string&)>& onRow) override;

  private:
    const CatalogueDb& db_;
};
