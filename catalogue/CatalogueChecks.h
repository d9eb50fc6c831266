#pragma once
// The two checks that need nothing but a catalogue connection: is the ODBC driver installed, and
// does the catalogue name a newer updater. Both run on the window's thread.
#include <string>

#include "app/ports/MessagePort.h"
#include "catalogue/CatalogueDb.h"

inline constexpr char16_t kUpdaterVersion[] = u"4.0.0";

// True when a connection error message says the driver itself is missing: the driver manager's
// "Data source name ..." (unknown DSN) or unixODBC's "Can't open lib '...' : file not found"
// (driver not registered, or its library gone). The message is taken without its tags.
bool MeansDriverMissing(const std::u16string& messageWithoutTags);

// Opens and closes one read-only connection. False only when the driver is missing; a server
// that cannot be reached or refuses the account still means the driver is there.
bool OdbcDriverPresent(const CatalogueDb& db);

// Shows "New version of software available..." (warning, OK) once per kio_version row whose text
// differs from ownVersion. Silent when the catalogue cannot be reached; a statement error shows the
// driver's message in an error box. Returns the number of warnings shown.
int CheckUpdaterVersion(const CatalogueDb& db, const std::string& makerWebAddress, MessagePort& messages,
                        const std::u16string& ownVersion = kUpdaterVersion);

// The error box of a window-thread operation whose statement failed.
void ShowDatabaseError(MessagePort& messages, const DbError& error);
