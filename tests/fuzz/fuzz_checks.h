#pragma once

// Shared by the fuzz targets that include it: the readers' diagnostics go nowhere, and a cell
// outside the tables is a finding.
#include <cstdlib>
#include <string_view>
#include <vector>

#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "model/note_values.h"
#include "model/score_cell.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    sorvel::setDiagnosticSink([](std::string_view) {});
    return 0;
}

inline void abortUnlessInTables(const std::vector<sorvel::ScoreCell>& cells) {
    for (const sorvel::ScoreCell& c : cells) {
        if (!sorvel::tables::validPitch(c.noteIndex) || !sorvel::validValue(c.onpIndex)) {
            std::abort();
        }
    }
}
