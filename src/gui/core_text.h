#pragma once

#include <QString>
#include <string>

namespace sorvel::gui {

// A text of the core (an alert, a reason, a status line) in the user's language. The core
// writes English (and a few fixed Japanese texts); this finds the text, or the template it was
// filled from, among the core's texts and translates it with its parts. Unknown texts stay.
QString coreText(const std::string& text);
QString coreText(const QString& text);

}  // namespace sorvel::gui
