#pragma once
// Program-wide start-up of the transfer library (libcurl). The library must be started once by the
// program's main before any thread exists, and released by main after the last transfer thread has
// ended; transfers never start it themselves and fail as "no connection" when it is not running.
//
//   int main(...) {
//       TransferLibraryScope transfers;  // first thing, before any thread starts
//       ...
//   }

// Starts the library; called again while it runs, does nothing. False when the library could not
// start: every transfer then reports no connection.
bool InitialiseTransfers();

// Releases the library started by InitialiseTransfers. Harmless when it is not running.
void FinishTransfers();

// Whether InitialiseTransfers has started the library and FinishTransfers not yet released it.
bool TransfersInitialised();

// InitialiseTransfers for the lifetime of a scope in main.
class TransferLibraryScope {
  public:
    TransferLibraryScope() { InitialiseTransfers(); }
    ~TransferLibraryScope() { FinishTransfers(); }
    TransferLibraryScope(const TransferLibraryScope&) = delete;
    TransferLibraryScope& operator=(const TransferLibraryScope&) = delete;
};
