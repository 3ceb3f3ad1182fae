#pragma once

// Test doubles around a score document: a recording audio output and captured diagnostics.
// Documents themselves are built and read through given.h.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/undo_history.h"
#include "given.h"
#include "model/diagnostics.h"
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
    void playNow(PcmBuffer buffer) override {
        calls.push_back("now");
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

// Collects diagnostic lines while it lives.
class DiagCapture {
  public:
    DiagCapture() {
        setDiagnosticSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    ~DiagCapture() { setDiagnosticSink({}); }
    DiagCapture(const DiagCapture&) = delete;
    DiagCapture& operator=(const DiagCapture&) = delete;
    bool contains(const std::string& line) const {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    std::vector<std::string> lines;
};

}  // namespace sorvel::testing
