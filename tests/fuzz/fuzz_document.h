// A score window's document as the fuzz targets drive it: laid out as the window lays it out,
// no set folder, no sound, diagnostics silenced.
#pragma once

#include <memory>
#include <string_view>

#include "app/document.h"
#include "model/diagnostics.h"

namespace sorvel::fuzz {

inline std::unique_ptr<Document> makeDocument(UndoHistory* undo = nullptr) {
    static const bool quiet = [] {
        setDiagnosticSink([](std::string_view) {});
        return true;
    }();
    (void)quiet;
    auto doc = std::make_unique<Document>(undo, nullptr);
    doc->windowControllerDidLoadNib(
        {{44, 26, 1200, 140}, {44, 198, 1200, 140}, {44, 370, 1200, 140}, {0, 0, 60, 140}}, "");
    return doc;
}

}  // namespace sorvel::fuzz
