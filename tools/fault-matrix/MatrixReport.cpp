#include "tools/fault-matrix/MatrixReport.h"

#include <ostream>

std::string CellKey(const FaultCell& cell) {
    return cell.fault + " | " + cell.point + " | " + RouteName(cell.route);
}

void WriteMatrixTable(std::ostream& out, const std::vector<MatrixRow>& rows, const std::string& title) {
    int unsound = 0;
    for (const MatrixRow& row : rows)
        unsound += row.result.sound ? 0 : 1;
    out << "# " << title << "\n\n"
        << rows.size() << " cells, " << unsound << " unsound.\n\n"
        << "| fault | point | route | final text | outcome | controller | interface | catalogue row | "
           "journal "
           "| time | verdict |\n"
        << "|---|---|---|---|---|---|---|---|---|---|---|\n";
    for (const MatrixRow& row : rows) {
        const CellResult& r = row.result;
        out << "| " << CellKey(row.cell) << " | " << r.finalText << " | " << r.outcome << " | "
            << r.controllerState << " | " << r.interfaceState << " | " << r.catalogueRow << " | "
            << r.journalRow << " | " << (r.elapsedMs + 50) / 100 / 10.0 << " s | "
            << (r.sound ? "sound" : "UNSOUND: " + r.why) << " |\n";
    }
}
