#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/score.h"

namespace sorvel {

class Processes;
class TextFileWriter;

// A score as its recovery snapshot keeps it: the score file's text, the file the score is
// bound to ("" for none) and its window's title.
struct RecoverySnapshot {
    std::string path;
    std::string title;
    std::string text;
    friend bool operator==(const RecoverySnapshot&, const RecoverySnapshot&) = default;
};

std::string recoveryFileText(const RecoverySnapshot& snapshot);
// Nothing for bytes that are no snapshot (cut short, or another file).
std::optional<RecoverySnapshot> parseRecoveryFile(std::string_view bytes);

// The recovery snapshots of scores with unsaved changes, one file each, in a folder of their
// own. A file's name says which process owns it ("<process id>~<n>.recovery"), so that two
// running copies never take each other's; snapshots of a process that ended without removing
// them are left to the next copy that starts.
class RecoveryStore {
  public:
    // folder "" keeps no snapshots.
    RecoveryStore(std::string folder, Processes& processes, TextFileWriter& writer);
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // Writes owner's snapshot atomically over its last one; a failure only goes to the
    // diagnostics (the next change tries again).
    void write(const void* owner, const RecoverySnapshot& snapshot);
    // Removes owner's snapshot, if it has one.
    void remove(const void* owner);
    // Forgets owner, leaving its snapshot for the next start.
    void release(const void* owner) { files_.erase(owner); }

    struct Orphan {
        std::string file;
        std::string path, title;
        Score score;
    };
    struct Orphans {
        // Oldest first.
        std::vector<Orphan> scores;
        // Files that could not be read, set aside under a name ending in ".damaged".
        std::vector<std::string> damaged;
    };
    // Takes over the snapshots of processes that no longer run: each is renamed to a name of
    // this process first, so that a copy starting at the same time cannot take it too.
    Orphans claimOrphans();
    // A claimed file becomes owner's snapshot.
    void adopt(const void* owner, const std::string& file) { files_[owner] = file; }
    // Removes a claimed file.
    void discard(const std::string& file);

  private:
    std::string newFile();

    std::string folder_;
    Processes& processes_;
    TextFileWriter& writer_;
    std::map<const void*, std::string> files_;
    int serial_ = 0;
};

}  // namespace sorvel
