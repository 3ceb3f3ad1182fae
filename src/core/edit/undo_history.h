#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace sorvel {

// The one undo history of the application, shared by every document. Primitives record
// their inverse before they change anything; what is recorded while undoing becomes the
// redo step and what is recorded while redoing the undo step. One user action is one step:
// records made inside an open group (see UndoGroup) form a single step, nested groups merge
// into the outermost, and a record made outside any group is a step of its own.
class UndoHistory {
  public:
    using Action = std::function<void()>;

    // Records an action on behalf of target (the document it acts on).
    void registerUndo(const void* target, Action action);

    void beginGroup();
    void endGroup();

    bool canUndo() const;
    bool canRedo() const;
    // Undo or redo the latest step; nothing while a group is open or a step is running.
    void undo();
    void redo();
    std::size_t undoStepCount() const { return undoStack_.size(); }
    std::size_t redoStepCount() const { return redoStack_.size(); }

    // Drops every step that acts on target (its document is going away).
    void removeAllActions(const void* target);

    bool isUndoing() const { return mode_ == Mode::Undoing; }
    bool isRedoing() const { return mode_ == Mode::Redoing; }

  private:
    struct Record {
        const void* target;
        Action action;
    };
    using Step = std::vector<Record>;
    enum class Mode { Normal, Undoing, Redoing };

    void perform(std::vector<Step>& from, std::vector<Step>& to, Mode mode);
    Step& currentStep();

    std::vector<Step> undoStack_;
    std::vector<Step> redoStack_;
    Step open_;
    int depth_ = 0;
    Mode mode_ = Mode::Normal;
};

// Groups the records of one user action into one step for as long as it lives.
class UndoGroup {
  public:
    explicit UndoGroup(UndoHistory* h) : h_(h) {
        if (h_) h_->beginGroup();
    }
    ~UndoGroup() {
        if (h_) h_->endGroup();
    }
    UndoGroup(const UndoGroup&) = delete;
    UndoGroup& operator=(const UndoGroup&) = delete;

  private:
    UndoHistory* h_;
};

}  // namespace sorvel
