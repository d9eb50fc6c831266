#include "link/BootReplies.h"

#include "app/UpdaterContext.h"

void HandleBootloaderReply(UpdaterContext& ctx, const HidReport& report) {
    (void)ctx;
    (void)report;
}
