// The document's sound: tones of the entry cell and the reference pitch of the staves.
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

void Document::chgFreq() {
    diag("chgFreq");
    const std::int64_t a = leadingInteger(A_Hz);
    A_Hz = std::to_string(a);
    for (GosenView* staff : {&gosen1, &gosen2, &gosen3, &gosenE}) staff->setFreq(a);
    controlsChanged();
}

}  // namespace sorvel
