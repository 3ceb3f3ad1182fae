#pragma once

#include <optional>
#include <string>

namespace sorvel {

// Modal file choosers. Each returns nothing when the user cancels.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // A save dialog for a score; its name field starts with suggested, a file name, or a path
    // whose folder the dialog starts in. The chosen file path.
    virtual std::optional<std::string> saveFile(const std::string& suggested) = 0;
    // An open dialog for one file; a path or a "file://" URL.
    virtual std::optional<std::string> openFile() = 0;
    // A dialog that chooses folders only, showing message; the chosen folder path.
    virtual std::optional<std::string> chooseFolder(const std::string& message) = 0;
};

}  // namespace sorvel
