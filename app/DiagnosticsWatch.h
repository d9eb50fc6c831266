#pragma once
// What support reads when an install fails at a dealer's, written into the diagnostics log from the
// window thread after every tick: the program's version and system at start, the interface's mode
// and identity as they change, the controller's states while an install runs, each command's reply
// status, failed transfers and flashing runs with the server and path, and each install's end.
// Only what is safe to show: never a password or a connection string.
#include <cstdint>
#include <string>
#include <string_view>

class DiagnosticsLog;
struct UpdaterContext;

class DiagnosticsWatch {
  public:
    DiagnosticsWatch(const UpdaterContext& context, DiagnosticsLog* log);

    void ProgramStarted(std::u16string_view version);
    // Compares the context with what was last seen and writes what changed.
    void Observe();

  private:
    void Write(std::string_view topic, const std::string& text);
    void ObserveInterface(bool catalogueSettled);
    void ObserveInstall(bool catalogueSettled);

    const UpdaterContext& context_;
    DiagnosticsLog* log_;
    std::int32_t mode_ = -1;
    std::int32_t state_ = -1;
    std::int32_t replyStatus_ = -1;
    bool transferDone_ = true;
    bool installed_ = false;
    bool startPending_ = false;  // the install's first line waits for the catalogue fields
    std::u16string serial_;
};
