#pragma once
// The fault matrix as a Markdown table, one row per cell, and the cell texts a regression test
// compares with the committed table.
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/fault-matrix/CellRun.h"
#include "tools/fault-matrix/FaultCells.h"

struct MatrixRow {
    FaultCell cell;
    CellResult result;
};

void WriteMatrixTable(std::ostream& out, const std::vector<MatrixRow>& rows, const std::string& title);
// The key of a cell in the table: "fault | point | route".
std::string CellKey(const FaultCell& cell);
