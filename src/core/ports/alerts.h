#pragma once

#include <string>

namespace sorvel {

// Modal messages to the user.
class Alerts {
  public:
    virtual ~Alerts() = default;
    // Shows a modal alert and returns when the user has dismissed it.
    virtual void showAlert(const std::string& text, const std::string& informativeText = {}) = 0;
    // Asks a question with an accepting button (acceptTitle) and Cancel; true when accepted.
    // A port that cannot ask declines.
    virtual bool confirm(const std::string& /*text*/, const std::string& /*informativeText*/,
                         const std::string& /*acceptTitle*/) {
        return false;
    }
};

}  // namespace sorvel
