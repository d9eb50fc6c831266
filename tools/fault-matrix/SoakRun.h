#pragma once
// The soak run: many installs in a row through the real program, over every model and both
// routes, each with a random fault of the matrix or none (seeded, so a run can be repeated), and
// what it must never show: a false success, a hang, an install missing from the journal, or
// memory and open handles that grow from the start to the end.
#include <cstdint>
#include <iosfwd>

class HarnessServers;

struct SoakFigures {
    unsigned seed = 0;
    int installs = 0;
    int succeeded = 0;
    int faultsMet = 0;
    int falseSuccesses = 0;
    int hangs = 0;
    int unsound = 0;
    int journalMissing = 0;
    long residentKbStart = 0, residentKbEnd = 0;
    int openHandlesStart = 0, openHandlesEnd = 0;
    long elapsedMs = 0;
    bool Passed() const;
};

SoakFigures RunSoak(const HarnessServers& servers, int installs, unsigned seed, std::ostream& log);
void WriteSoakReport(std::ostream& out, const SoakFigures& figures);
