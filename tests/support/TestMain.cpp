// The main of every test program: starts the transfer library before any test starts a thread.
#include <gtest/gtest.h>

#include "retrieval/TransferLibrary.h"

int main(int argc, char** argv) {
    TransferLibraryScope transfers;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
