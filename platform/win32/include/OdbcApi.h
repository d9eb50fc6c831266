#pragma once
// The ODBC API headers of Windows, which need the Windows types first.
#include <windows.h>

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>
