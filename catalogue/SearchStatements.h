#pragma once
// The statements of the vehicle search: the make and model list queries and the six forms of the
// result query, chosen by which lists are past their first entry. Text values travel as bound
// parameters; only fixed clauses and numbers are part of the text.
#include <string>

#include "catalogue/CatalogueDb.h"

struct SearchChoice {
    std::u16string mfgId;
    bool makeChosen = false;  // make list past "ALL MAKES"
    bool modelChosen = false;
    bool yearChosen = false;
    std::u16string make;  // at most 15 characters
    std::u16string model;
    int year = 0;
    bool manualTransmission = false;
    bool updateVolume = false;  // only the update-volume (sw_id 9999) entries
};

SqlStatement MakeListStatement(const std::u16string& mfgId);
SqlStatement ModelListStatement(const std::u16string& make, const std::u16string& mfgId);
SqlStatement SearchStatement(const SearchChoice& choice);
