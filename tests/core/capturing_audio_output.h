#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sound/audio_output.h"

namespace sorvel::testing {

// Records every call and every scheduled buffer, for checks of order and samples.
class CapturingAudioOutput : public AudioOutput {
  public:
    explicit CapturingAudioOutput(PcmFormat format = {}) : format_(format) {}

    PcmFormat outputFormat() const override { return format_; }
    void connect(const PcmFormat& format) override {
        calls.push_back("connect");
        connected.push_back(format);
    }
    void scheduleBuffer(PcmBuffer buffer) override {
        calls.push_back("schedule");
        buffers.push_back(std::move(buffer));
    }
    std::optional<std::string> start() override {
        calls.push_back("start");
        return startError;
    }
    void play() override { calls.push_back("play"); }

    void setFormat(PcmFormat format) { format_ = format; }

    std::vector<std::string> calls;
    std::vector<PcmFormat> connected;
    std::vector<PcmBuffer> buffers;
    // When set, start() fails with this text.
    std::optional<std::string> startError;

  private:
    PcmFormat format_;
};

}  // namespace sorvel::testing
