// The document's sound: tones of the entry cell and the reference pitch of the window.
#include <string>

#include "app/document.h"
#include "model/diagnostics.h"
#include "sound/tone.h"

namespace sorvel {

void Document::playTone(float frequency, float seconds) {
    if (!audio_) return;
    playToneOn(*audio_, frequency, seconds);
}

void Document::playClick(float frequency, float seconds) {
    if (!audio_) return;
    playClickOn(*audio_, frequency, seconds);
}

void Document::setReferencePitchText(const std::string& text) {
    A_Hz = text;
    settings().referencePitch = leadingInteger(text);
}

void Document::chgFreq() {
    diag("chgFreq");
    const std::int64_t a = leadingInteger(A_Hz);
    A_Hz = std::to_string(a);
    settings().referencePitch = a;
    freqArr_ = tuningTable(a);
    // One table serves the four staves; the diagnostics still name it once for each.
    const std::string line = tableLine(freqArr_);
    for (int staff = 0; staff < 4; ++staff) diag(line);
    controlsChanged();
}

}  // namespace sorvel
