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
    std::string out;
    std::size_t chordBytes = 0;
    for (const std::string& line : doc.codeData) chordBytes += line.size() + 2;
    out.reserve(64 + doc.A_Hz.size() + chordBytes + doc.musicData.size() * 6);

    out += "<,sorvel2,";
    appendInt(out, doc.imgCombo.selected);
    out += ',';
    appendInt(out, doc.cmbTempo.selected);
    out += ',';
    // The field as typed when it is an integer; otherwise the integer the pitch field would
    // apply, so that every saved file opens again.
    if (parseDecimal(doc.A_Hz)) {
        out += doc.A_Hz;
    } else {
        out += std::to_string(leadingInteger(doc.A_Hz));
    }
    out += ',';
    appendInt(out, doc.cmbInKey.selected);
    out += ',';
    appendInt(out, doc.cmbBeat.selected);
    out += '\n';
    for (const std::string& line : doc.codeData) {
        out += '#';
        // A line break would end the chord line early and shift every line after it.
        out += chordTextOnOneLine(line);
        out += '\n';
    }
    for (const ScoreCell& cell : doc.musicData) {
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
    doc.musicData = file.musicData;
    doc.codeData = file.codeData;
    doc.setTopPage(1);
    doc.showPage(1);
    doc.imgCombo.select(file.imageSet);
    doc.cmbTempo.select(file.tempo);
    doc.cmbInKey.select(file.key);
    doc.cmbBeat.select(file.beat);
    doc.A_Hz = std::to_string(file.aHz);
    doc.controlsChanged();
}

}  // namespace sorvel
