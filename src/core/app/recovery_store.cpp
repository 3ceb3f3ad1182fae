#include "app/recovery_store.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "model/diagnostics.h"
#include "model/score_file.h"
#include "ports/processes.h"
#include "ports/text_file_writer.h"

namespace sorvel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "sorvel-recovery 1\n";
constexpr std::string_view kSuffix = ".recovery";

}  // namespace

// The first line names the format, the second the byte lengths of the path and the title,
// which follow, then a line feed and the score file's text.
std::string recoveryFileText(const RecoverySnapshot& s) {
    return std::string(kMagic) + std::to_string(s.path.size()) + ' ' +
           std::to_string(s.title.size()) + '\n' + s.path + s.title + '\n' + s.text;
}

std::optional<RecoverySnapshot> parseRecoveryFile(std::string_view bytes) {
    if (!bytes.starts_with(kMagic)) return std::nullopt;
    bytes.remove_prefix(kMagic.size());
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::vector<std::string_view> sizes = splitFields(bytes.substr(0, end), ' ');
    if (sizes.size() != 2) return std::nullopt;
    const auto pathSize = parseDecimal(sizes[0]);
    const auto titleSize = parseDecimal(sizes[1]);
    bytes.remove_prefix(end + 1);
    if (!pathSize || !titleSize || *pathSize < 0 || *titleSize < 0 ||
        static_cast<std::uint64_t>(*pathSize) + static_cast<std::uint64_t>(*titleSize) >=
            bytes.size()) {
        return std::nullopt;
    }
    const auto p = static_cast<std::size_t>(*pathSize);
    const auto t = static_cast<std::size_t>(*titleSize);
    if (bytes[p + t] != '\n') return std::nullopt;
    return RecoverySnapshot{std::string(bytes.substr(0, p)), std::string(bytes.substr(p, t)),
                            std::string(bytes.substr(p + t + 1))};
}

RecoveryStore::RecoveryStore(std::string folder, Processes& processes, TextFileWriter& writer)
    : folder_(std::move(folder)), processes_(processes), writer_(writer) {}

std::string RecoveryStore::newFile() {
    return (fs::path(folder_) /
            (processes_.selfId() + '~' + std::to_string(++serial_) + std::string(kSuffix)))
        .string();
}

void RecoveryStore::write(const void* owner, const RecoverySnapshot& snapshot) {
    if (folder_.empty()) return;
    std::error_code ec;
    // Scores are the user's own: the folder is theirs alone.
    if (fs::create_directories(folder_, ec)) fs::permissions(folder_, fs::perms::owner_all, ec);
    auto it = files_.find(owner);
    if (it == files_.end()) it = files_.emplace(owner, newFile()).first;
    if (const auto error = writer_.writeFile(it->second, recoveryFileText(snapshot))) {
        diag("recovery snapshot not written: " + *error);
    }
}

void RecoveryStore::remove(const void* owner) {
    const auto it = files_.find(owner);
    if (it == files_.end()) return;
    discard(it->second);
    files_.erase(it);
}

void RecoveryStore::discard(const std::string& file) {
    std::error_code ec;
    fs::remove(file, ec);
}

RecoveryStore::Orphans RecoveryStore::claimOrphans() {
    Orphans found;
    if (folder_.empty()) return found;
    std::vector<std::pair<fs::file_time_type, std::string>> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const std::string name = entry.path().filename().string();
        const std::size_t mark = name.rfind('~');
        if (!name.ends_with(kSuffix) || mark == std::string::npos) continue;
        const std::string owner = name.substr(0, mark);
        if (owner == processes_.selfId() || processes_.running(owner)) continue;
        std::error_code timeEc;
        files.emplace_back(entry.last_write_time(timeEc), entry.path().string());
    }
    std::sort(files.begin(), files.end());
    for (const auto& [time, file] : files) {
        const std::string mine = newFile();
        std::error_code renameEc;
        fs::rename(file, mine, renameEc);
        if (renameEc) continue;  // another copy took it first
        const Result<std::string> bytes = readFileBytes(mine);
        std::optional<RecoverySnapshot> snapshot;
        if (bytes) snapshot = parseRecoveryFile(bytes.value());
        ScoreParseResult parsed;
        if (snapshot) parsed = parseScore(snapshot->text);
        if (parsed.score) {
            found.scores.push_back({mine, snapshot->path, snapshot->title, *parsed.score});
            continue;
        }
        const std::string aside = file + ".damaged";
        fs::rename(mine, aside, renameEc);
        found.damaged.push_back(renameEc ? mine : aside);
    }
    return found;
}

}  // namespace sorvel
