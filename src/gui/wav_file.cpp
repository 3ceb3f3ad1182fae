#include "wav_file.h"

#include <QIODevice>
#include <string>

#include "atomic_file.h"

namespace sorvel::gui {

std::optional<WavFailure> exportWav(const QString& path, const Score& score,
                                    const exchange::WavOptions& options) {
    std::optional<std::string> refused;
    bool wrote = false;
    const auto failed = writeFileAtomically(path, [&](QIODevice& file) {
        refused = exchange::streamWav(score, options, [&](std::string_view piece) {
            wrote = true;
            const auto n = static_cast<qint64>(piece.size());
            return file.write(piece.data(), n) == n;
        });
        return !refused;
    });
    if (refused && !wrote) return WavFailure{true, QString::fromStdString(*refused)};
    if (failed) return WavFailure{false, *failed};
    return std::nullopt;
}

}  // namespace sorvel::gui
