#pragma once

#include <string>
#include <vector>

namespace sorvel {

// The answer to "save the changes?". The "All" answers stand for every score still to be
// asked about in the same quit.
enum class SaveChoice { Save, Discard, Cancel, SaveAll, DiscardAll };

// Modal questions to the user; each returns when answered.
class Questions {
  public:
    virtual ~Questions() = default;
    // Whether the changes of the score named scoreName are saved before it closes. several:
    // more scores wait for the same question, so the answers for all of them are offered.
    virtual SaveChoice askToSave(const std::string& scoreName, bool several) = 0;
    // Scores with unsaved changes were left by a copy of the application that ended without
    // closing them: true restores them, false discards them.
    virtual bool askToRestore(const std::vector<std::string>& scoreNames) = 0;
};

}  // namespace sorvel
