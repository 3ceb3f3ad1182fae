#pragma once

// Golden files: a text a test produces (a page's drawing calls, a MusicXML file) compared
// with the one kept under tests/core/golden. SORVEL_UPDATE_GOLDEN=1 writes the text there
// instead and fails the test, so that every change of a golden file is a reviewed diff.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace sorvel::testing {

inline void expectGolden(const std::string& name, const std::string& text) {
    const std::string path = std::string(SORVEL_GOLDEN_DIR) + "/" + name;
    if (std::getenv("SORVEL_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << text;
        ADD_FAILURE() << "rewrote " << path << "; review the diff, then run without "
                      << "SORVEL_UPDATE_GOLDEN";
        return;
    }
    std::ifstream in(path, std::ios::binary);
    std::stringstream want;
    want << in.rdbuf();
    if (!in) {
        ADD_FAILURE() << "no golden file " << path << " (SORVEL_UPDATE_GOLDEN=1 writes it)";
        return;
    }
    if (want.str() == text) return;
    // The first line that differs, numbered from 1.
    std::istringstream a(want.str()), b(text);
    std::string wantLine, gotLine;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, wantLine));
        const bool moreB = static_cast<bool>(std::getline(b, gotLine));
        if (!moreA && !moreB) break;
        if (moreA != moreB || wantLine != gotLine) {
            ADD_FAILURE() << name << " line " << line
                          << ":\n  golden: " << (moreA ? wantLine : "(end)")
                          << "\n  now:    " << (moreB ? gotLine : "(end)")
                          << "\n(SORVEL_UPDATE_GOLDEN=1 rewrites it when the change is meant)";
            return;
        }
    }
    ADD_FAILURE() << name << " differs in its line ends";
}

}  // namespace sorvel::testing
