#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ports/settings.h"

namespace sorvel {

// The recently opened and saved scores live in the settings under this key, one path a line,
// newest first.
inline constexpr const char* kRecentFilesKey = "recentFiles";
inline constexpr std::size_t kMaxRecentFiles = 10;

std::vector<std::string> recentFiles(const Settings& settings);

// Puts path first (once) and keeps the newest kMaxRecentFiles. An empty path, or one with a
// line break (it could not be kept one a line), is not remembered.
void rememberRecentFile(Settings& settings, const std::string& path);

}  // namespace sorvel
