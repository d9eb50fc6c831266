// The transfer library is started by the program's main, before any thread; a transfer never
// starts it itself.
#include "retrieval/TransferLibrary.h"

#include <gtest/gtest.h>

#include "tests/support/FtpTestServer.h"
#include "retrieval/FtpTransfers.h"

namespace {

TEST(TransferLibrary, TransfersRunOnlyWhileTheProgramHasStartedTheLibrary) {
    ScratchDirectory store;
    WriteFile(store.Path() / "fw" / "a1.bin", ImageBytes(10));
    FtpEndpoint endpoint;
    endpoint.scheme = "file";
    endpoint.basePath = store.Path().string();

    ASSERT_TRUE(TransfersInitialised());  // by the test program's main
    EXPECT_TRUE(InitialiseTransfers());   // a second start is harmless
    EXPECT_EQ(RunFtpCheck(endpoint, {}, u"fw/a1.bin"), FTP_OK);

    FinishTransfers();
    EXPECT_FALSE(TransfersInitialised());
    EXPECT_EQ(RunFtpCheck(endpoint, {}, u"fw/a1.bin"), FTP_NO_CONNECTION);

    ASSERT_TRUE(InitialiseTransfers());
    EXPECT_EQ(RunFtpCheck(endpoint, {}, u"fw/a1.bin"), FTP_OK);
}

}  // namespace
