#include "app/recent_files.h"

#include <algorithm>

namespace sorvel {

std::vector<std::string> recentFiles(const Settings& settings) {
    std::vector<std::string> paths;
    const std::string text = settings.get(kRecentFilesKey);
    std::size_t start = 0;
    while (start < text.size() && paths.size() < kMaxRecentFiles) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start) paths.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return paths;
}

void rememberRecentFile(Settings& settings, const std::string& path) {
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos) return;
    std::vector<std::string> paths = recentFiles(settings);
    paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
    paths.insert(paths.begin(), path);
    if (paths.size() > kMaxRecentFiles) paths.resize(kMaxRecentFiles);
    std::string text;
    for (const std::string& p : paths) text += p + '\n';
    settings.set(kRecentFilesKey, text);
}

}  // namespace sorvel
