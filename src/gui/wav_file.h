#pragma once

#include <QString>
#include <optional>

#include "exchange/audio_export.h"
#include "model/score.h"

namespace sorvel::gui {

// Why a recording was not written: refused before its first byte (too long, no tempo), or
// the file could not be written (in writeFileAtomically's words, without the path).
struct WavFailure {
    bool refused = false;
    QString why;
};

// Writes the score's recording to path a piece at a time as it is rendered, never whole in
// memory; the file is replaced only once the recording is complete.
std::optional<WavFailure> exportWav(const QString& path, const Score& score,
                                    const exchange::WavOptions& options);

}  // namespace sorvel::gui
