#include "model/diagnostics.h"

#include <cstdio>
#include <utility>

namespace sorvel {
namespace {
std::function<void(std::string_view)>& sink() {
    static std::function<void(std::string_view)> s;
    return s;
}
}  // namespace

void diag(std::string_view line) {
    if (sink()) {
        sink()(line);
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void setDiagnosticSink(std::function<void(std::string_view)> s) {
    sink() = std::move(s);
}

}  // namespace sorvel
