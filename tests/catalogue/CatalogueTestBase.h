#pragma once
// Base of the catalogue tests that run against both back ends: the fixture catalogue (a private
// copy for tests that change it),
// the shared context, the harness search panel, a fixed clock (9 December 2026) and a recording
// message port.
#include <gtest/gtest.h>

#include <memory>

#include "CatalogueBackends.h"
#include "app/UpdaterContext.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeControllerPorts.h"
#include "tests/support/HarnessSearchPanel.h"

class CatalogueTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override {
        ctx_.mfg_id = u"QD7720R";
        if (GetParam() == Backend::MariaDb) {
            const std::string shared = MariaDbConnectionFromEnvironment();
            if (shared.empty()) {
                GTEST_SKIP() << "the test MariaDB server is not running (TELVIX_TEST_MARIADB_CONNECTION)";
            }
            // Tests that only read use the server's catalogue; a private copy costs a few tables.
            db_ = std::make_unique<CatalogueDb>(shared, 15);
            return;
        }
        UseScratch();
    }

    // Switches the test to a private copy of the fixture catalogue, which it may change. Call it
    // before the first db() of a test that writes.
    const ScratchCatalogue& UseScratch() {
        if (!scratch_) {
            scratch_ = std::make_unique<ScratchCatalogue>(GetParam());
            EXPECT_TRUE(scratch_->ok()) << "cannot prepare the catalogue: " << scratch_->error();
            db_ = std::make_unique<CatalogueDb>(scratch_->Db());
        }
        return *scratch_;
    }
    const ScratchCatalogue& scratch() {
        EXPECT_TRUE(scratch_) << "UseScratch() before the first change";
        return UseScratch();
    }
    const CatalogueDb& db() const { return *db_; }

    UpdaterContext ctx_;
    HarnessSearchPanel panel_;
    FakeClock clock_;
    FakeMessagePort messages_;

  private:
    std::unique_ptr<ScratchCatalogue> scratch_;
    std::unique_ptr<CatalogueDb> db_;
};

inline std::string BackendParamName(const ::testing::TestParamInfo<Backend>& info) {
    return BackendName(info.param);
}

#define TELVIX_BOTH_BACKENDS(Suite)                                                                 \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite, ::testing::Values(Backend::MariaDb, Backend::Sqlite), \
                             BackendParamName)

// A connection string that reaches the MariaDB driver without a registration, for a server that
// is not there (port 1 on loopback is closed).
inline std::string UnreachableMariaDb(int port = 1) {
    return std::string("Driver=") + kMariaDbDriverPath + ";Server=127.0.0.1;Port=" + std::to_string(port) +
           ";Database=tvx_catalogue;User=a3f29c01b7d4e6;Password=5e8c1f02";
}
