// The phrase builder's line sent to a score window's document, and its phrase played there.
#include "app/document_phrase.h"

#include <string>

#include "app/document.h"
#include "model/note_values.h"
#include "sound/play_list.h"
#include "sound/tone.h"

namespace sorvel {
namespace {

constexpr std::int64_t kDefaultTempo = 120;

}  // namespace

std::int64_t phraseTempo(const Document& doc) {
    const std::int64_t shown = leadingInteger(doc.score().settings.tempoText());
    return shown > 0 ? shown : kDefaultTempo;
}

void playPhraseCells(const Document& doc, const std::vector<ScoreCell>& cells) {
    AudioOutput* out = doc.sound().output();
    if (!out) return;
    const PcmFormat format = out->outputFormat();
    if (!(format.sampleRate > 0.0) || format.channels < 1) return;
    const float secondsPerBeat = 60.0f / static_cast<float>(phraseTempo(doc));
    const float factor = keyFactor(doc.score().settings.keyText());
    const std::vector<float>& freq = doc.sound().table();
    for (const ScoreCell& cell : cells) {
        if (!isPitched(cell.onpIndex)) continue;
        if (cell.noteIndex < 0 || cell.noteIndex >= static_cast<std::int64_t>(freq.size()))
            continue;
        const float f = freq[static_cast<std::size_t>(cell.noteIndex)] * factor;
        const float seconds = noteValue(cell.onpIndex).beats * secondsPerBeat;
        handOver(*out, synthesizeTone(format, f, seconds));
    }
}

bool DocumentPhraseScore::appendCells(const std::vector<ScoreCell>& cells) {
    Document* doc = target_ ? target_() : nullptr;
    if (!doc) return false;
    doc->appendCells(cells);
    return true;
}

void DocumentPhraseScore::playCells(const std::vector<ScoreCell>& cells) {
    if (Document* doc = target_ ? target_() : nullptr) playPhraseCells(*doc, cells);
}

}  // namespace sorvel
