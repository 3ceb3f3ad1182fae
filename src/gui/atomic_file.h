#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string_view>

class QIODevice;

namespace sorvel::gui {

// Writes a file whole or leaves what was there: the content goes to a temporary file beside
// it, which replaces the file only once everything is written. `fill` writes the content and
// returns false to give up. On failure, why, in words and without the path: "permission
// denied", "read-only file system", "no such folder", "the disk is full (...)".
std::optional<QString> writeFileAtomically(const QString& path,
                                           const std::function<bool(QIODevice&)>& fill);
std::optional<QString> writeFileAtomically(const QString& path, std::string_view bytes);

}  // namespace sorvel::gui
