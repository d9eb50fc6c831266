#include "platform/SqliteOdbcDriver.h"

// Debian's libsqliteodbc. Named by its path, so the driver need not be registered in odbcinst.ini.
std::string SqliteOdbcDriver() {
    return "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
}
