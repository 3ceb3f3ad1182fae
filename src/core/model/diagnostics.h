#pragma once

#include <functional>
#include <string_view>

namespace sorvel {

// Every diagnostic line of the program goes through here (standard output by default).
void diag(std::string_view line);

// Redirects diagnostic lines, for tests; an empty function restores standard output.
void setDiagnosticSink(std::function<void(std::string_view)> sink);

}  // namespace sorvel
