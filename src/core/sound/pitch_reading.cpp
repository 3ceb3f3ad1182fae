#include "sound/pitch_reading.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "model/notation_tables.h"

namespace sorvel {
namespace {

constexpr std::int64_t kSemitones = 28;  // A0 .. C2

// The pitch index of each semitone: the table's names without the flat spellings.
const std::array<std::int64_t, kSemitones>& sharpIndices() {
    static const std::array<std::int64_t, kSemitones> indices = [] {
        std::array<std::int64_t, kSemitones> a{};
        std::size_t n = 0;
        for (std::int64_t p = 0; p < tables::kPitchCount && n < a.size(); ++p) {
            if (tables::shflArr[static_cast<std::size_t>(p)] != -1) a[n++] = p;
        }
        return a;
    }();
    return indices;
}

float centsBetween(float f, float reference) {
    return static_cast<float>(1200.0 * std::log2(static_cast<double>(f) / reference));
}

float median(std::vector<float> v) {
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    if (v.size() % 2 == 1) return *mid;
    const float upper = *mid;
    const float lower = *std::max_element(v.begin(), mid);
    return (lower + upper) / 2;
}

}  // namespace

std::vector<float> semitoneTable(std::int64_t referencePitch) {
    std::vector<float> table;
    if (referencePitch <= 0) return table;
    const float a = static_cast<float>(referencePitch);
    const float octaves[3] = {a * 0.5f, a, a + a};
    for (std::int64_t s = 0; s < kSemitones; ++s) {
        const int k = static_cast<int>(s % 12);
        table.push_back(octaves[s / 12] * std::pow(2.0f, static_cast<float>(k) / 12.0f));
    }
    return table;
}

std::int64_t semitonePitchIndex(std::int64_t semitone) {
    if (semitone < 0 || semitone >= kSemitones) return -1;
    return sharpIndices()[static_cast<std::size_t>(semitone)];
}

std::optional<NearestPitch> nearestPitch(float frequency, std::int64_t referencePitch) {
    if (!std::isfinite(frequency) || frequency <= 0) return std::nullopt;
    const std::vector<float> table = semitoneTable(referencePitch);
    if (table.empty() || !std::isfinite(table.back())) return std::nullopt;
    // The semitone by the logarithm, then the neighbours checked against the table's own
    // (rounded) values.
    const double guess = std::round(12.0 * std::log2(frequency / static_cast<double>(table[0])));
    const auto centre =
        static_cast<std::int64_t>(std::clamp(guess, 0.0, static_cast<double>(kSemitones - 1)));
    std::int64_t best = centre;
    float bestCents = centsBetween(frequency, table[static_cast<std::size_t>(centre)]);
    for (std::int64_t s : {centre - 1, centre + 1}) {
        if (s < 0 || s >= kSemitones) continue;
        const float c = centsBetween(frequency, table[static_cast<std::size_t>(s)]);
        if (std::abs(c) < std::abs(bestCents)) {
            best = s;
            bestCents = c;
        }
    }
    if (!(std::abs(bestCents) <= 50.5f)) return std::nullopt;
    return NearestPitch{semitonePitchIndex(best), table[static_cast<std::size_t>(best)],
                        std::clamp(bestCents, -50.0f, 50.0f)};
}

std::string centsLabel(float cents) {
    const long c = std::lround(std::isfinite(cents) ? cents : 0.0f);
    if (c == 0) return "0 cents";
    std::string text = c > 0 ? "+" : "";
    text += std::to_string(c);
    text += " cents";
    return text;
}

std::string listenHzLabel(float frequency) {
    if (!std::isfinite(frequency) || frequency <= 0) return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f Hz", static_cast<double>(frequency));
    return text;
}

void NoteFollower::reset() {
    reading_ = {};
    held_.clear();
    candidate_ = -1;
    candidateSteps_.clear();
    lastHeard_ = 0;
}

bool NoteFollower::push(const PitchEstimate& e, std::int64_t referencePitch) {
    const ListenReading before = reading_;
    const double now = e.seconds;
    std::optional<NearestPitch> heard;
    if (e.frequency > 0 && e.confidence >= kMinConfidence && e.levelDb >= kMinLevelDb) {
        heard = nearestPitch(e.frequency, referencePitch);
    }
    if (referencePitch != shownReference_ && reading_.hasNote) {
        // Another reference renames the held note at once.
        shownReference_ = referencePitch;
        show(referencePitch, now);
    }
    if (!heard) {
        candidate_ = -1;
        candidateSteps_.clear();
        if (reading_.hasNote && now - lastHeard_ > kReleaseSeconds) {
            reading_ = {};
            held_.clear();
        }
        return !(reading_ == before);
    }
    if (reading_.hasNote && heard->pitchIndex == reading_.pitchIndex) {
        // The held note goes on; a candidate that did not last is forgotten.
        candidate_ = -1;
        candidateSteps_.clear();
        held_.push_back({now, e.frequency});
        lastHeard_ = now;
    } else {
        if (heard->pitchIndex != candidate_) {
            candidate_ = heard->pitchIndex;
            candidateSince_ = now;
            candidateSteps_.clear();
        }
        candidateSteps_.push_back({now, e.frequency});
        // Confirmed after kConfirmSeconds and at least three steps in a row.
        if (candidateSteps_.size() < 3 || now - candidateSince_ < kConfirmSeconds - 1e-9) {
            if (reading_.hasNote && now - lastHeard_ > kReleaseSeconds) {
                reading_ = {};
                held_.clear();
            }
            return !(reading_ == before);
        }
        held_.assign(candidateSteps_.begin(), candidateSteps_.end());
        candidate_ = -1;
        candidateSteps_.clear();
        lastHeard_ = now;
    }
    while (!held_.empty() && now - held_.front().seconds > kSmoothSeconds) held_.pop_front();
    shownReference_ = referencePitch;
    show(referencePitch, now);
    return !(reading_ == before);
}

bool NoteFollower::show(std::int64_t referencePitch, double) {
    if (held_.empty()) return false;
    std::vector<float> fs;
    for (const Step& s : held_) fs.push_back(s.frequency);
    const float f = median(std::move(fs));
    const std::optional<NearestPitch> p = nearestPitch(f, referencePitch);
    if (!p) {
        reading_ = {};
        held_.clear();
        return false;
    }
    reading_.hasNote = true;
    reading_.pitchIndex = p->pitchIndex;
    reading_.name = std::string(tables::noteArr[static_cast<std::size_t>(p->pitchIndex)]);
    reading_.frequency = f;
    reading_.cents = p->cents;
    reading_.inTune = std::abs(p->cents) <= kInTuneCents;
    return true;
}

}  // namespace sorvel
