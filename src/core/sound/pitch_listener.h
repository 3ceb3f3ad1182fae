#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "sound/audio_input.h"
#include "sound/pitch_detector.h"
#include "sound/pitch_reading.h"

namespace sorvel {

// The tuner's ear: records from a sound input, finds the played pitch and keeps the reading
// to show. The analysis runs on the input's thread; the window only copies the latest reading.
class PitchListener {
  public:
    // Opens a sound input of the listener's own; nothing when there is none.
    using InputFactory = std::function<std::unique_ptr<AudioInput>()>;
    using DetectorFactory = std::function<std::unique_ptr<PitchDetector>(double sampleRate)>;

    // The status while there is no input to listen to.
    static constexpr const char* kNoMicrophone = "No microphone";

    static std::unique_ptr<PitchDetector> defaultDetector(double sampleRate) {
        return makeAubioDetector(sampleRate);
    }

    explicit PitchListener(InputFactory input, DetectorFactory detector = defaultDetector);
    ~PitchListener();
    PitchListener(const PitchListener&) = delete;
    PitchListener& operator=(const PitchListener&) = delete;

    // Starts listening when off, stops when on (a stop clears the status unless the input
    // was lost).
    void listen();
    bool listening() const { return input_ != nullptr; }

    // The reference pitch (the A of octave 1) the note names and cents are measured against.
    void setReferencePitch(std::int64_t hz);
    std::int64_t referencePitch() const { return reference_.load(); }

    // What to show now; serial grows with every change, so a caller can skip repaints.
    struct Snapshot {
        ListenReading reading;
        std::string status;
        std::uint64_t serial = 0;
        // Seconds of signal analysed since the start.
        double signalSeconds = 0;
        // The input failed while listening: the owner should switch listening off (which
        // keeps the reason in status).
        bool inputLost = false;
    };
    Snapshot snapshot() const;

  private:
    void onBlock(const float* samples, std::size_t count);
    void onError(const std::string& message);
    void publish(const ListenReading* reading, const std::string* status, double seconds);

    InputFactory inputFactory_;
    DetectorFactory detectorFactory_;
    std::unique_ptr<AudioInput> input_;
    // Used on the input's thread only while listening.
    std::unique_ptr<PitchDetector> detector_;
    NoteFollower follower_;

    std::atomic<std::int64_t> reference_{440};
    mutable std::mutex mutex_;
    Snapshot shown_;
};

}  // namespace sorvel
