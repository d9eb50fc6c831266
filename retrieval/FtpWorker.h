#pragma once
// The FTP worker: one thread per run of FTP_CHECK or FTP_GET, started by the command set
// (directions 3 and 4) and polled by the controller. The worker stores ftpResult, sets ftpMode to
// FTP_IDLE and sets ftpDone last (release); ftpMode FTP_IDLE runs nothing and leaves ftpResult.
#include <cstdint>

class CommandSet;
struct UpdaterContext;

// Window thread. Clears ftpDone and starts the worker for the current ftpMode and remotePath,
// with the endpoint, time-outs and volumeRoot as they are now.
void LaunchFtpWorker(UpdaterContext& ctx);

// Makes the command set's FTP directions start this worker on ctx.
void InstallFtpWorker(CommandSet& commands, UpdaterContext& ctx);

// The worker's body on the calling thread, with the same effects on ctx as a launched worker.
void RunFtpWorker(UpdaterContext& ctx);
