#pragma once
// The ODBC API headers of unixODBC.
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>
