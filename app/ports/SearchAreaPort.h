#pragma once
// Which controls of the search area the controller enables. The lists' contents, the result list
// and the Install button belong to the catalogue search's panel (catalogue/SearchPanel.h).
// Called on the window thread only.
class SearchAreaPort {
  public:
    virtual ~SearchAreaPort() = default;

    // Make, Model and Year lists and the manual-transmission check box, together.
    virtual void EnableVehicleLists(bool enabled) = 0;
    virtual void EnableSearch(bool enabled) = 0;
};
