// A document to and from a whole score.
#include "app/document_file.h"

#include <string>

#include "app/document.h"

namespace sorvel {

ScoreSnapshot Document::snapshot() {
    storeChordFields();
    return {score_, freqArr_, imageSet()};
}

PlayRequest Document::playRequest(bool exercise) const {
    PlayRequest request;
    request.score = &score_;
    request.startIndex = selStart();
    request.freqArr = &freqArr_;
    request.exercise = exercise;
    request.cellsPerLine = gosenCellMax;
    return request;
}

void applyScore(Document& doc, const Score& file) {
    Score& score = doc.score();
    score.musicData = file.musicData;
    score.codeData = file.codeData;
    doc.setTopPage(1);
    doc.showPage(1);
    const ScoreSettings& set = file.settings;
    doc.chooseImageSet(set.imageSet);
    doc.chooseTempo(set.tempo);
    doc.chooseKey(set.key);
    doc.chooseBeat(set.beat);
    // The field shows the file's pitch; the tuning table changes when it is applied.
    doc.setReferencePitchText(std::to_string(set.referencePitch));
    doc.controlsChanged();
}

}  // namespace sorvel
