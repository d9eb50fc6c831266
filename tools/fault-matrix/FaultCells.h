#pragma once
// The cells of the fault matrix: one fault, one point where it strikes, one install route, and
// what a sound install may end in. The full matrix crosses every fault with every route and point
// it applies to; the short form keeps one point per fault and route.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CellRig;

enum class Route { HidFromApplication, HidFromBootloader, Volume };
const char* RouteName(Route route);

// What a sound run of the cell may end in.
enum class Expect { Success, Failure, Either };

// When the fault strikes.
struct Strike {
    enum class Kind { BeforeInstall, AtState, AtProgress, DuringFetch } kind = Strike::Kind::BeforeInstall;
    std::int32_t state = 0;  // AtState: when the controller is about to run this state
    int progress = 0;        // AtProgress: once the flash progress reaches this percentage
};

struct FaultCell {
    std::string fault;
    std::string point;
    Route route = Route::HidFromApplication;
    Expect expect = Expect::Either;
    Strike when;
    std::function<void(CellRig&)> strike;
    // Needs its own catalogue account (password changes, revoked rights) or its own FTP server.
    bool ownAccount = false;
    bool ownFtpServer = false;
};

std::vector<FaultCell> FullMatrix();
std::vector<FaultCell> ShortMatrix();
