#include "catalogue/CatalogueChecks.h"

#include "platform/Text.h"

bool MeansDriverMissing(const std::u16string& message) {
    if (message.starts_with(u"Data source name")) {
        return true;
    }
    return message.starts_with(u"Can't open lib") && message.find(u"file not found") != std::u16string::npos;
}

bool OdbcDriverPresent(const CatalogueDb& db) {
    DbError error;
    std::unique_ptr<CatalogueConnection> connection = db.Open(OpenMode::ReadOnly, error);
    if (connection) {
        return true;
    }
    return !MeansDriverMissing(error.message);
}

int CheckUpdaterVersion(const CatalogueDb& db, const std::string& makerWebAddress, MessagePort& messages,
                        const std::u16string& ownVersion) {
    DbError error;
    std::unique_ptr<CatalogueConnection> connection = db.Open(OpenMode::ReadOnly, error);
    if (!connection) {
        return 0;
    }
    // Rows are collected first so that no box stays open while the connection waits.
    std::vector<std::u16string> versions;
    std::int32_t rows = 0;
    const bool ok = connection->Query(
        SqlStatement{u"SELECT kio_version_no FROM kio_version ", {}},
        [&](const OdbcRow& row) { versions.push_back(row.Text("kio_version_no")); }, rows, error);
    connection.reset();
    if (!ok) {
        ShowDatabaseError(messages, error);
        return 0;
    }
    int shown = 0;
    const std::u16string text = u"New version of software available. Please visit " +
                                FromUtf8(makerWebAddress) + u" update your software";
    for (const std::u16string& version : versions) {
        if (version != ownVersion) {
            messages.Show(text, MessageIcon::Warning, MessageButtons::Ok);
            ++shown;
        }
    }
    return shown;
}

void ShowDatabaseError(MessagePort& messages, const DbError& error) {
    messages.Show(error.message, MessageIcon::Error, MessageButtons::Ok);
}
