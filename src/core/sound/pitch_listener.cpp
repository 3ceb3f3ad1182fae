#include "sound/pitch_listener.h"

#include <utility>

#include "model/diagnostics.h"

namespace sorvel {
namespace {

constexpr const char* kBadReference = "The reference pitch ";

}  // namespace

PitchListener::PitchListener(InputFactory input, DetectorFactory detector)
    : inputFactory_(std::move(input)), detectorFactory_(std::move(detector)) {}

PitchListener::~PitchListener() {
    if (input_) input_->stop();
}

void PitchListener::setReferencePitch(std::int64_t hz) {
    reference_ = hz;
    if (semitoneTable(hz).empty()) {
        const std::string status = kBadReference + std::to_string(hz) + " Hz gives no pitch table";
        publish(nullptr, &status, -1);
    } else {
        std::lock_guard lock(mutex_);
        if (shown_.status.rfind(kBadReference, 0) == 0) {
            shown_.status.clear();
            ++shown_.serial;
        }
    }
}

void PitchListener::listen() {
    if (input_) {
        // After stop() no block arrives any more: the detector is ours again.
        input_->stop();
        input_.reset();
        detector_.reset();
        const ListenReading none;
        std::lock_guard lock(mutex_);
        shown_.reading = none;
        if (!shown_.inputLost) shown_.status.clear();
        shown_.inputLost = false;
        ++shown_.serial;
        return;
    }
    follower_.reset();
    std::unique_ptr<AudioInput> input = inputFactory_ ? inputFactory_() : nullptr;
    if (!input) {
        const std::string status = kNoMicrophone;
        diag(status);
        publish(nullptr, &status, -1);
        return;
    }
    detector_ = detectorFactory_ ? detectorFactory_(input->sampleRate()) : nullptr;
    if (!detector_) {
        const std::string status = "The microphone's sample rate is not usable";
        diag(status);
        publish(nullptr, &status, -1);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        shown_.reading = {};
        shown_.status.clear();
        shown_.inputLost = false;
        shown_.signalSeconds = 0;
        ++shown_.serial;
    }
    input_ = std::move(input);
    const auto error = input_->start([this](const float* s, std::size_t n) { onBlock(s, n); },
                                     [this](const std::string& m) { onError(m); });
    if (error) {
        // The window must not claim to listen to nothing.
        input_.reset();
        detector_.reset();
        const std::string status = std::string(kNoMicrophone) + ": " + *error;
        diag(status);
        publish(nullptr, &status, -1);
    }
}

void PitchListener::onBlock(const float* samples, std::size_t count) {
    if (!detector_) return;
    bool changed = false;
    double seconds = -1;
    for (const PitchEstimate& e : detector_->feed(samples, count)) {
        changed = follower_.push(e, reference_.load()) || changed;
        seconds = e.seconds;
    }
    if (seconds < 0) return;
    publish(changed ? &follower_.reading() : nullptr, nullptr, seconds);
}

void PitchListener::onError(const std::string& message) {
    const std::string status = std::string(kNoMicrophone) + ": " + message;
    diag(status);
    const ListenReading none;
    publish(&none, &status, -1);
    std::lock_guard lock(mutex_);
    shown_.inputLost = true;
}

void PitchListener::publish(const ListenReading* reading, const std::string* status,
                            double seconds) {
    std::lock_guard lock(mutex_);
    if (reading) shown_.reading = *reading;
    if (status) shown_.status = *status;
    if (seconds >= 0) shown_.signalSeconds = seconds;
    if (reading || status) ++shown_.serial;
}

PitchListener::Snapshot PitchListener::snapshot() const {
    std::lock_guard lock(mutex_);
    return shown_;
}

}  // namespace sorvel
