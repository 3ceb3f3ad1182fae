// The tuner: its steady tone and its two states; listening: the nearest pitch of the table,
// detection on synthesized sound, the steadiness and reaction of the display, and the
// listener's life with a scripted input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/tuner.h"
#include "fakes.h"
#include "model/notation_tables.h"
#include "model/score.h"
#include "sound/pitch_detector.h"
#include "sound/pitch_listener.h"
#include "sound/pitch_reading.h"
#include "sound/tone.h"
#include "test_signals.h"

namespace sorvel {
namespace {

using testing::Wave;

constexpr double kRate = 48000.0;

TEST(NearestPitch, NamesAndCentsAgainstTheReference) {
    // {frequency, reference, the pitch's name or nullptr for none, cents}
    const std::tuple<float, std::int64_t, const char*, float> cases[] = {
        {446.0f, 440, "A1", 23.45f},  {434.0f, 440, "A1", -23.77f}, {446.0f, 442, "A1", 15.60f},
        {466.16f, 440, "A1#", 0.0f},  {277.18f, 440, "C0#", 0.0f},  {261.63f, 440, "C0", 0.0f},
        {214.0f, 440, "A0", -47.87f}, {1075.0f, 440, "C2", 46.5f},  // just inside the ends
        {1083.0f, 440, nullptr, 0},   {210.0f, 440, nullptr, 0},    {0.0f, 440, nullptr, 0},
        {NAN, 440, nullptr, 0},       {INFINITY, 440, nullptr, 0},  {440.0f, 0, nullptr, 0},
    };
    for (const auto& [hz, reference, name, cents] : cases) {
        SCOPED_TRACE(std::to_string(hz) + " at " + std::to_string(reference));
        const auto p = nearestPitch(hz, reference);
        ASSERT_EQ(p.has_value(), name != nullptr);
        if (!p) continue;
        EXPECT_EQ(tables::noteArr[static_cast<std::size_t>(p->pitchIndex)], name);
        EXPECT_NEAR(p->cents, cents, 0.15f);
    }
    // Half way between two pitches: either neighbour, at most 50 cents off.
    EXPECT_NEAR(std::abs(nearestPitch(453.0f, 440)->cents), 50.0f, 1.0f);
}

TEST(NearestPitch, TheTableIsTheStavesTableWithoutFlatNames) {
    // A score at A = 442 and the tuner must measure against the same numbers.
    for (const std::int64_t a : {440, 442, 415}) {
        const std::vector<float> staves = tuningTable(a);
        const std::vector<float> table = semitoneTable(a);
        std::size_t s = 0;
        for (std::int64_t p = 0; p < tables::kPitchCount; ++p) {
            if (tables::shflArr[static_cast<std::size_t>(p)] == -1) continue;
            EXPECT_EQ(semitonePitchIndex(static_cast<std::int64_t>(s)), p);
            EXPECT_EQ(table[s], staves[static_cast<std::size_t>(p)]) << a << " " << p;
            ++s;
        }
        EXPECT_EQ(s, table.size());
    }
    EXPECT_EQ(semitonePitchIndex(-1), -1);
    EXPECT_EQ(semitonePitchIndex(28), -1);
}

struct Step {
    double seconds;
    ListenReading reading;
};

// The reading after every analysis step of a signal handed over in blocks of 10 ms.
std::vector<Step> follow(const std::vector<float>& signal) {
    auto detector = makeAubioDetector(kRate);
    EXPECT_NE(detector, nullptr);
    std::vector<Step> steps;
    if (!detector) return steps;
    NoteFollower follower;
    const auto block = static_cast<std::size_t>(kRate / 100);
    for (std::size_t i = 0; i < signal.size(); i += block) {
        for (const PitchEstimate& e :
             detector->feed(signal.data() + i, std::min(block, signal.size() - i))) {
            follower.push(e, 440);
            steps.push_back({e.seconds, follower.reading()});
        }
    }
    return steps;
}

TEST(Listening, SilenceNoiseAndDoubtShowNothing) {
    std::vector<float> noise(static_cast<std::size_t>(kRate), 0.0f);
    testing::addNoise(noise, 0.2);
    std::vector<float> damaged = testing::tone(Wave::Sine, 440, 1.0, kRate, 0.0);
    for (std::size_t i = 0; i < damaged.size(); i += 3) damaged[i] = NAN;
    const std::pair<const char*, std::vector<float>> cases[] = {
        {"digital silence", std::vector<float>(static_cast<std::size_t>(kRate), 0.0f)},
        {"loud white noise", noise},
        {"a tone far below hearing level", testing::tone(Wave::Sine, 440, 1.0, kRate, 0.0003)},
        {"a tone below the lowest pitch", testing::tone(Wave::Sine, 150, 1.0, kRate)},
        {"a tone above the highest pitch", testing::tone(Wave::Sine, 1500, 1.0, kRate)},
        {"not-a-number samples", damaged},
    };
    for (const auto& [what, signal] : cases) {
        for (const Step& s : follow(signal))
            ASSERT_FALSE(s.reading.hasNote)
                << what << " at " << s.seconds << ": " << s.reading.name;
    }
}

TEST(Listening, ANewNoteShowsWithinATenthOfASecondAndGoesWithItsSound) {
    // {from, to, the new note's name, a short silence between as when a string is plucked anew}
    const std::tuple<double, double, const char*, bool> changes[] = {
        {440.0, 880.0, "A2", false}, {293.66, 329.63, "E0", true}, {0.0, 392.0, "G0", false}};
    for (const auto& [fromHz, toHz, to, gap] : changes) {
        SCOPED_TRACE(std::to_string(fromHz) + " -> " + std::to_string(toHz));
        auto signal = testing::tone(Wave::Sawtooth, fromHz, 0.5, kRate, fromHz > 0 ? 0.5 : 0);
        if (gap) testing::append(signal, std::vector<float>(std::size_t(0.03 * kRate)));
        const double onset = static_cast<double>(signal.size()) / kRate;
        testing::append(signal, testing::tone(Wave::Sawtooth, toHz, 0.5, kRate));
        std::optional<double> shown;
        for (const Step& s : follow(signal)) {
            if (s.seconds <= onset) continue;
            if (!shown && s.reading.name == to) shown = s.seconds;
            if (shown) {
                ASSERT_EQ(s.reading.name, to) << "once there, the new note stays";
            }
        }
        ASSERT_TRUE(shown);
        EXPECT_LE(*shown - onset, 0.1);
    }
    // And it goes with its sound.
    auto signal = testing::tone(Wave::Sine, 440, 0.5, kRate);
    testing::append(signal, std::vector<float>(static_cast<std::size_t>(0.5 * kRate)));
    const auto steps = follow(signal);
    const auto from = [&](double t) {
        return std::ranges::find_if(steps, [t](const Step& s) { return s.seconds >= t; });
    };
    EXPECT_TRUE(from(0.3)->reading.hasNote);
    for (auto s = from(0.5 + 0.2); s != steps.end(); ++s) EXPECT_FALSE(s->reading.hasNote);
}

TEST(Listening, TheDetectorRefusesNonsenseRates) {
    for (const double rate : {0.0, -48000.0, 100.0, double(NAN), double(INFINITY)})
        EXPECT_EQ(makeAubioDetector(rate), nullptr) << rate;
    EXPECT_TRUE(makeAubioDetector(kRate)->feed(nullptr, 100).empty());
}

struct ListenRig {
    testing::InputLog log;
    bool haveInput = true;
    testing::ScriptedInput* input = nullptr;
    testing::DiagCapture diag;
    PitchListener listener{[this]() -> std::unique_ptr<AudioInput> {
        if (!haveInput) return nullptr;
        auto in = std::make_unique<testing::ScriptedInput>(log, kRate);
        input = in.get();
        return in;
    }};
    void play(double hz, double seconds) {
        input->deliver(testing::tone(Wave::Sine, hz, seconds, kRate));
    }
    const ListenReading& reading() {
        snap = listener.snapshot();
        return snap.reading;
    }
    PitchListener::Snapshot snap;
};

TEST(PitchListener, ListensToItsInputAndStops) {
    ListenRig rig;
    rig.listener.listen();
    ASSERT_TRUE(rig.listener.listening());
    const auto before = rig.listener.snapshot().serial;
    rig.play(446.0, 0.3);
    EXPECT_EQ(rig.reading().name, "A1");
    EXPECT_EQ(centsLabel(rig.snap.reading.cents), "+23 cents");
    EXPECT_GT(rig.snap.serial, before);
    EXPECT_NEAR(rig.snap.signalSeconds, 0.3, 0.01);

    // A raised reference moves the centre while the note is held.
    rig.listener.setReferencePitch(446);
    rig.play(446.0, 0.1);
    EXPECT_NEAR(rig.reading().cents, 0.0, 1.0);
    EXPECT_TRUE(rig.snap.reading.inTune);
    // A reference without a pitch table is reported and shows no note until it is mended.
    rig.listener.setReferencePitch(0);
    EXPECT_EQ(rig.listener.snapshot().status, "The reference pitch 0 Hz gives no pitch table");
    rig.play(440.0, 0.2);
    EXPECT_FALSE(rig.reading().hasNote);
    rig.listener.setReferencePitch(440);
    EXPECT_EQ(rig.listener.snapshot().status, "");
    rig.play(440.0, 0.2);
    EXPECT_EQ(rig.reading().name, "A1");

    rig.listener.listen();
    EXPECT_FALSE(rig.listener.listening());
    EXPECT_EQ(rig.log.stopped, 1);
    EXPECT_EQ(rig.log.closed, 1);
    EXPECT_FALSE(rig.reading().hasNote) << "a stopped tuner shows no note";

    rig.listener.listen();  // starts afresh
    EXPECT_EQ(rig.log.opened, 2);
    EXPECT_FALSE(rig.reading().hasNote);
    rig.play(261.63, 0.2);
    EXPECT_EQ(rig.reading().name, "C0");
}

TEST(PitchListener, WithoutAMicrophoneItSaysSo) {
    // No input at all, or one that cannot start: it must not claim to listen.
    for (const std::string error : {"", "Connection refused"}) {
        SCOPED_TRACE(error);
        ListenRig rig;
        rig.haveInput = !error.empty();
        if (!error.empty()) rig.log.startError = error;
        rig.listener.listen();
        EXPECT_FALSE(rig.listener.listening());
        EXPECT_EQ(rig.listener.snapshot().status,
                  "No microphone" + (error.empty() ? "" : ": " + error));
        EXPECT_EQ(rig.log.closed, error.empty() ? 0 : 1);
    }
    // Lost while listening: the note goes, the reason shows until a new start.
    ListenRig rig;
    rig.listener.listen();
    rig.play(440.0, 0.2);
    EXPECT_TRUE(rig.reading().hasNote);
    rig.input->fail("Device unplugged");
    EXPECT_FALSE(rig.reading().hasNote);
    EXPECT_EQ(rig.snap.status, "No microphone: Device unplugged");
    EXPECT_TRUE(rig.snap.inputLost);
    rig.listener.listen();  // the switch goes off cleanly and the reason stays
    EXPECT_FALSE(rig.listener.listening());
    EXPECT_EQ(rig.log.stopped, 1);
    EXPECT_EQ(rig.listener.snapshot().status, "No microphone: Device unplugged");
    rig.listener.listen();
    EXPECT_EQ(rig.listener.snapshot().status, "");
}

// The input's thread analyses while the window's thread reads and changes the reference:
// each side sees whole readings (the sanitizer builds catch a race here).
TEST(PitchListener, ReadingsCrossThreadsWhole) {
    ListenRig rig;
    rig.listener.listen();
    const auto signal = testing::tone(Wave::Sine, 446.0, 1.0, kRate);
    std::thread recorder([&] { rig.input->deliver(signal); });
    for (int k = 0; k < 2000; ++k) {
        rig.listener.setReferencePitch(k % 2 ? 440 : 446);
        const auto snap = rig.listener.snapshot();
        if (snap.reading.hasNote) {
            ASSERT_EQ(snap.reading.name, "A1");
            ASSERT_LE(std::abs(snap.reading.cents), 25.0f);
        }
    }
    recorder.join();
    rig.listener.setReferencePitch(440);
    rig.play(446.0, 0.2);
    EXPECT_EQ(centsLabel(rig.reading().cents), "+23 cents");
}

// The tuner's steady tone and its two states.
struct TunerRig {
    testing::OutputLog log;
    bool outputAvailable = true;
    Tuner tuner{[this]() -> std::unique_ptr<AudioOutput> {
        if (!outputAvailable) return nullptr;
        return std::make_unique<testing::CapturingAudioOutput>(log);
    }};
};

TEST(Tuner, StartsAtA440AndSwitchesBetweenTwoStates) {
    TunerRig rig;
    EXPECT_EQ(rig.tuner.note(), 17);
    rig.tuner.play();
    EXPECT_TRUE(rig.tuner.nowPlaying());
    EXPECT_EQ(rig.tuner.lblHz(), "440.0Hz");
    EXPECT_EQ(rig.log.played, 1);
    ASSERT_EQ(rig.log.nowPrograms.size(), 1u);
    // One program that never ends, rendered by the output's clock; an hour in, every frame is
    // still the sine at its phase (the step's rounding moves it by 1e-5 of a cycle an hour).
    const PlayProgram& tone = *rig.log.nowPrograms[0];
    EXPECT_EQ(tone.length(), std::numeric_limits<std::int64_t>::max());
    const std::int64_t hour = 48000ll * 3600;
    std::vector<float> out(2 * 480);
    tone.render(hour, out.data(), 480, 2, tone.length());
    for (std::size_t i = 0; i < 480; ++i) {
        const double cycles = std::fmod(440.0 * static_cast<double>(hour + i), 48000.0) / 48000.0;
        ASSERT_NEAR(out[2 * i], kToneLevel * std::sin(2 * std::numbers::pi * cycles), 1e-4) << i;
        ASSERT_EQ(out[2 * i + 1], out[2 * i]);
    }
    rig.tuner.play();
    EXPECT_FALSE(rig.tuner.nowPlaying());
    EXPECT_EQ(rig.log.closed, 1) << "stopping closes the output, which silences it";
    rig.tuner.play();
    EXPECT_EQ(rig.log.opened, 2);
}

TEST(Tuner, FailingOutputLeavesTheTunerSilent) {
    testing::DiagCapture diag;
    // An output that cannot start, or none at all: the tuner stays silent and says why; the
    // next press tries again, and succeeds once the output works.
    for (const bool available : {true, false}) {
        TunerRig rig;
        rig.outputAvailable = available;
        rig.log.startError = "device gone";
        rig.tuner.play();
        EXPECT_FALSE(rig.tuner.nowPlaying());
        EXPECT_EQ(rig.tuner.status(), available ? "device gone" : "No sound output");
        EXPECT_EQ(rig.log.played, 0);
        EXPECT_EQ(rig.log.closed, rig.log.opened);
        rig.outputAvailable = true;
        rig.log.startError.reset();
        rig.tuner.play();
        EXPECT_TRUE(rig.tuner.nowPlaying());
        EXPECT_TRUE(rig.tuner.status().empty());
    }
    EXPECT_EQ(diag.lines.size(), 2u);
}

}  // namespace
}  // namespace sorvel
