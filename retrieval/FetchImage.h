#pragma once
// The in-memory fetch of the HID install route: reads the image of the context's software record
// from the server, checks it against the record's length and digest, and prepares the flashing
// engine with it. Window thread, while no flashing run is active; blocks for the download.
#include <cstdint>

struct UpdaterContext;

enum FetchResult : std::int32_t {
    FETCH_OK = 0,         // image verified and loaded into the flashing engine
    FETCH_NO_FILE = 1,    // no connection or login, or the file cannot be opened
    FETCH_BAD_IMAGE = 2,  // digest differs (also a short or broken file), or a length the engine
                          // cannot take (0 bytes, more than 255 sectors): nothing loaded
};

// Sets remotePath, imageLength and expectedDigest from softwareRecord, then fetches. The file is
// read until the server ends it or imageLength bytes have arrived: only that prefix is checked and
// loaded.
FetchResult FetchImage(UpdaterContext& ctx);
