#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "app/replace.h"

class QHBoxLayout;

namespace sorvel {
class EditableScore;
}

namespace sorvel::gui {

class StaffWidget;

// The replace window: the find staff and the replacement staff, each with five pitch steps,
// and the Replace button, which acts on the score the target function names at the moment
// of the press (the application's root document).
class ReplaceWindow : public QWidget {
    Q_OBJECT
  public:
    using Target = std::function<EditableScore*()>;

    ReplaceWindow(std::string setFolder, Target target, QWidget* parent = nullptr);
    ~ReplaceWindow() override;

    // The image set both staves draw with (sel_inst).
    void setImageSet(const std::string& name);
    const std::string& imageSet() const { return selInst_; }
    // The set folder changed: the staves take their pictures from the new one.
    void setSetFolder(const std::string& folder);

    PitchReplacer& replacer() { return replacer_; }
    void btnUpDwn1(int row);
    void btnUpDwn2(int row);
    void btnReplace();

  private:
    StaffWidget* addStaffColumn(GosenView& staff, const QString& title, const QString& prefix,
                                std::function<void(int)> step, QHBoxLayout* row);

    std::string setFolder_;
    std::string selInst_;
    Target target_;
    PitchReplacer replacer_;
    StaffWidget* find_ = nullptr;
    StaffWidget* write_ = nullptr;
};

}  // namespace sorvel::gui
