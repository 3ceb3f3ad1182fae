#include "edit/undo_history.h"

#include <algorithm>
#include <utility>

namespace sorvel {

UndoHistory::Step& UndoHistory::currentStep() {
    return open_;
}

void UndoHistory::registerUndo(const void* target, Action action) {
    if (!action) return;
    if (mode_ == Mode::Normal) {
        // A new user action makes the undone steps unreachable.
        redoStack_.clear();
        if (depth_ == 0) {
            undoStack_.push_back(Step{Record{target, std::move(action)}});
            return;
        }
    }
    // Inside a group, or while a step runs: perform() files what it collects.
    currentStep().push_back(Record{target, std::move(action)});
}

void UndoHistory::beginGroup() {
    ++depth_;
}

void UndoHistory::endGroup() {
    if (depth_ == 0) return;
    if (--depth_ > 0 || mode_ != Mode::Normal) return;
    if (!open_.empty()) undoStack_.push_back(std::move(open_));
    open_.clear();
}

bool UndoHistory::canUndo() const {
    return !undoStack_.empty();
}
bool UndoHistory::canRedo() const {
    return !redoStack_.empty();
}

void UndoHistory::undo() {
    if (canUndo()) perform(undoStack_, redoStack_, Mode::Undoing);
}

void UndoHistory::redo() {
    if (canRedo()) perform(redoStack_, undoStack_, Mode::Redoing);
}

void UndoHistory::perform(std::vector<Step>& from, std::vector<Step>& to, Mode mode) {
    if (mode_ != Mode::Normal || depth_ > 0) return;
    Step step = std::move(from.back());
    from.pop_back();
    open_.clear();
    mode_ = mode;
    struct Restore {
        UndoHistory* h;
        std::vector<Step>* to;
        ~Restore() {
            h->mode_ = Mode::Normal;
            h->depth_ = 0;
            if (!h->open_.empty()) to->push_back(std::move(h->open_));
            h->open_.clear();
        }
    } restore{this, &to};
    // Later records may depend on earlier ones, so they are undone first.
    for (auto it = step.rbegin(); it != step.rend(); ++it) it->action();
}

void UndoHistory::removeAllActions(const void* target) {
    auto names = [target](const Step& step) {
        return std::any_of(step.begin(), step.end(),
                           [target](const Record& r) { return r.target == target; });
    };
    std::erase_if(undoStack_, names);
    std::erase_if(redoStack_, names);
    std::erase_if(open_, [target](const Record& r) { return r.target == target; });
}

}  // namespace sorvel
