#pragma once
// The demo's catalogue and image store: the fixture catalogue as an SQLite file and its images as
// a file:// store, written into a scratch directory, and the endpoints that point the program at
// them.
#include <filesystem>
#include <optional>
#include <string>

#include "catalogue/EndpointSettings.h"

inline constexpr char kDemoDefaultModel[] = "QD7720R";

// Where the demo's catalogue and image store live.
struct DemoData {
    std::filesystem::path catalogueFile;
    std::filesystem::path imageStore;
};

// Writes the fixture catalogue and its images below dir (created when missing). Returns an error
// text, or nothing on success.
std::optional<std::string> WriteDemoData(const std::filesystem::path& dir, DemoData& data);
// The endpoints that point the program at the demo data.
EndpointSettings DemoEndpoints(const DemoData& data, const std::string& makerWebAddress);
// True for the twelve model codes the catalogue knows.
bool IsKnownModel(const std::string& modelCode);
