// A document to and from the score file's text.
#include "app/document_file.h"

#include <charconv>
#include <string>

#include "app/document.h"
#include "edit/chord_lines.h"

namespace sorvel {
namespace {

void appendInt(std::string& out, std::int64_t value) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr);
}

}  // namespace

std::string writeScore(const Document& doc) {
    const Score& score = doc.score();
    const ScoreSettings& set = score.settings;
    std::string out;
    std::size_t chordBytes = 0;
    for (const std::string& line : score.codeData) chordBytes += line.size() + 2;
    out.reserve(64 + chordBytes + score.musicData.size() * 6);

    out += "<,sorvel2,";
    appendInt(out, set.imageSet);
    out += ',';
    appendInt(out, set.tempo);
    out += ',';
    appendInt(out, set.referencePitch);
    out += ',';
    appendInt(out, set.key);
    out += ',';
    appendInt(out, set.beat);
    out += '\n';
    for (const std::string& line : score.codeData) {
        out += '#';
        // A line break would end the chord line early and shift every line after it.
        out += chordTextOnOneLine(line);
        out += '\n';
    }
    for (const ScoreCell& cell : score.musicData) {
        appendInt(out, cell.noteIndex);
        out += ',';
        appendInt(out, cell.onpIndex);
        out += '\n';
    }
    return out;
}

std::string saveScore(Document& doc) {
    doc.storeChordFields();
    return writeScore(doc);
}

void applyScore(Document& doc, const ScoreFile& file) {
    Score& score = doc.score();
    score.musicData = file.musicData;
    score.codeData = file.codeData;
    doc.setTopPage(1);
    doc.showPage(1);
    doc.chooseImageSet(file.imageSet);
    doc.chooseTempo(file.tempo);
    doc.chooseKey(file.key);
    doc.chooseBeat(file.beat);
    // The field shows the file's pitch; the tuning table changes when it is applied.
    doc.setReferencePitchText(std::to_string(file.aHz));
    doc.controlsChanged();
}

}  // namespace sorvel
