#include "retrieval/FtpWorker.h"

#include <string>

#include "app/UpdaterContext.h"
#include "link/CommandSet.h"
#include "retrieval/FtpTransfers.h"

namespace {

// What a run reads, copied on the window thread so the worker touches no field but its outputs.
struct FtpJob {
    std::u16string remotePath;
    FtpEndpoint endpoint;
    TransferTimeouts timeouts;
    std::string volumeRoot;
    ExpectedImage expected;
};

FtpJob JobFrom(const UpdaterContext& ctx) {
    return FtpJob{ctx.remotePath, ctx.endpoints.ftp, ctx.transferTimeouts, ctx.volumeRoot,
                  ExpectedImage{ctx.softwareRecord.sw_length, ctx.softwareRecord.sw_md5}};
}

void RunJob(UpdaterContext& ctx, const FtpJob& job) {
    const std::int32_t mode = ctx.ftpMode.load(std::memory_order_acquire);
    if (mode == FTP_CHECK || mode == FTP_GET) {
        const FtpResult result = mode == FTP_CHECK ? RunFtpCheck(job.endpoint, job.timeouts, job.remotePath)
                                                   : RunFtpGet(job.endpoint, job.timeouts, job.remotePath,
                                                               job.volumeRoot, job.expected);
        ctx.ftpResult.store(result, std::memory_order_relaxed);
        ctx.ftpMode.store(FTP_IDLE, std::memory_order_relaxed);
    }
    ctx.ftpDone.store(true, std::memory_order_release);
}

}  // namespace

void RunFtpWorker(UpdaterContext& ctx) {
    RunJob(ctx, JobFrom(ctx));
}

void LaunchFtpWorker(UpdaterContext& ctx) {
    ctx.ftpDone.store(false, std::memory_order_release);
    FtpJob job = JobFrom(ctx);
    const bool started = ctx.ftpWorkerThread.Start([&ctx, job = std::move(job)] { RunJob(ctx, job); });
    if (!started) {
        ctx.ftpResult.store(FTP_NO_CONNECTION, std::memory_order_relaxed);
        ctx.ftpMode.store(FTP_IDLE, std::memory_order_relaxed);
        ctx.ftpDone.store(true, std::memory_order_release);
    }
}

void InstallFtpWorker(CommandSet& commands, UpdaterContext& ctx) {
    commands.Hooks().startFtpWorker = [&ctx] { LaunchFtpWorker(ctx); };
}
