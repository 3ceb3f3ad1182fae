#pragma once

#include <QString>

#include "ports/alerts.h"
#include "ports/file_dialogs.h"
#include "ports/processes.h"
#include "ports/questions.h"
#include "ports/settings.h"
#include "ports/text_file_writer.h"

class QWidget;

namespace sorvel::gui {

// Modal message boxes over the active window.
class QtAlerts : public Alerts {
  public:
    void showAlert(const std::string& text, const std::string& informativeText) override;
    bool confirm(const std::string& text, const std::string& informativeText,
                 const std::string& acceptTitle) override;
};

// Message boxes with the standard buttons, over the active window. Anything but a button
// (the dialog ended by a quit) answers Cancel, or Restore.
class QtQuestions : public Questions {
  public:
    SaveChoice askToSave(const std::string& scoreName, bool several) override;
    bool askToRestore(const std::vector<std::string>& scoreNames) override;
};

// Processes of this computer, told apart by boot, number and start time (/proc on Linux).
class SystemProcesses : public Processes {
  public:
    std::string selfId() const override;
    bool running(const std::string& id) const override;
};

// Qt's own file dialogs (the same on every platform, so they can be driven by tests).
class QtFileDialogs : public FileDialogs {
  public:
    std::optional<std::string> saveFile(const std::string& suggested) override;
    std::optional<std::string> openFile() override;
    std::optional<std::string> chooseFolder(const std::string& message) override;
};

// QSettings in the platform's standard place (XDG on Linux).
class QtSettings : public Settings {
  public:
    bool has(const std::string& key) const override;
    std::string get(const std::string& key) const override;
    void set(const std::string& key, const std::string& value) override;
    void sync() override;
};

// Atomic writes (writeFileAtomically); a failure names the path and why.
class QtTextFileWriter : public TextFileWriter {
  public:
    std::optional<std::string> writeFile(const std::string& path, std::string_view bytes) override;
};

}  // namespace sorvel::gui
