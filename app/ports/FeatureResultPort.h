#pragma once
// The two results the controller hands to the features dialog. Called on the window thread only.
#include <string>

class FeatureResultPort {
  public:
    virtual ~FeatureResultPort() = default;

    // The feature byte has been read (or could not be).
    virtual void ShowFeatureReadResult(const std::u16string& text, bool failed) = 0;
    // The feature write and its programming have ended.
    virtual void ShowFeatureWriteResult(const std::u16string& text, bool failed) = 0;
};
