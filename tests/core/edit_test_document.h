#pragma once

// Test doubles around a score document: a recording audio output and captured diagnostics.
// Documents themselves are built and read through given.h.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/undo_history.h"
#include "given.h"
#include "model/diagnostics.h"
#include "sound/audio_output.h"
#include "sound/clock.h"
#include "sound/play_program.h"

namespace sorvel::testing {

// Records every call and every scheduled buffer, for checks of order and samples. Programs
// play by the given clock (none: they stay where they begin), each one after the end of the
// one before, `latency` seconds behind what is rendered.
class CapturingAudioOutput : public AudioOutput {
  public:
    explicit CapturingAudioOutput(PcmFormat format = {}, const Clock* clock = nullptr)
        : format_(format), clock_(clock) {}

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

    bool available() const override { return !gone; }
    void startProgram(std::shared_ptr<const PlayProgram> program) override {
        const double now = clock_ ? clock_->now() : 0.0;
        double begin = now;
        if (!programs.empty()) {
            const Run& last = programs.back();
            if (last.end < std::numeric_limits<std::int64_t>::max()) {
                const auto tail = static_cast<double>(last.program->tailAfter(last.end));
                begin = std::max(now, last.start + tail / rate());
            }
        }
        programs.push_back({std::move(program), begin, std::numeric_limits<std::int64_t>::max()});
        programs.back().end = programs.back().program->length();
    }
    void endProgramAt(const PlayProgram* program, std::int64_t frame) override {
        for (Run& r : programs)
            if (r.program.get() == program) r.end = std::min(r.end, frame);
    }
    ProgramClock programClock() const override {
        if (programs.empty()) return {};
        const double now = clock_ ? clock_->now() : 0.0;
        for (auto r = programs.rbegin(); r != programs.rend(); ++r) {
            if (now < r->start && r + 1 != programs.rend()) continue;
            const auto rendered =
                std::max<std::int64_t>(0, static_cast<std::int64_t>((now - r->start) * rate()));
            const auto behind = static_cast<std::int64_t>(latency * rate());
            return {r->program.get(), rendered, std::max<std::int64_t>(0, rendered - behind)};
        }
        return {};
    }
    // The frames of run i as heard, up to its end (or `frames` of a loop).
    std::vector<float> renderRun(std::size_t i, std::int64_t frames = -1) const {
        const Run& r = programs.at(i);
        const std::int64_t n = frames >= 0 ? frames : r.end;
        std::vector<float> out(static_cast<std::size_t>(n));
        r.program->render(0, out.data(), out.size(), 1, r.end);
        return out;
    }

    struct Run {
        std::shared_ptr<const PlayProgram> program;
        double start;  // clock time of its frame 0
        std::int64_t end;
    };
    std::vector<Run> programs;
    double latency = 0.0;
    bool gone = false;
    std::vector<std::string> calls;
    std::vector<PcmFormat> connected;
    std::vector<PcmBuffer> buffers;
    // When set, start() fails with this text.
    std::optional<std::string> startError;

  private:
    double rate() const { return format_.sampleRate; }
    PcmFormat format_;
    const Clock* clock_;
};

// Collects diagnostic lines while it lives.
class DiagCapture {
  public:
    DiagCapture() {
        // A batch of lines arrives as one text.
        setDiagnosticSink([this](std::string_view text) {
            for (std::size_t at = 0;;) {
                const std::size_t nl = text.find('\n', at);
                lines.emplace_back(text.substr(at, nl - at));
                if (nl == std::string_view::npos) break;
                at = nl + 1;
            }
        });
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
