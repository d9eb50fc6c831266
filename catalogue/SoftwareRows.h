#pragma once
// Filling the software record from a tolvanesw row read with SELECT *.
#include "catalogue/Odbc.h"
#include "catalogue/SoftwareRecord.h"

enum class ImageDetails { Skip, Read };

// Overwrites the record's fields from the row; SW_LENGTH and SW_MD5 only with ImageDetails::Read.
void FillSoftwareRecord(const OdbcRow& row, SoftwareRecord& record, ImageDetails details);
