#pragma once

// The test doubles of the core's ports, one per port, and the diagnostics and folders tests
// need around them. The core and gui tests take them from here.

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "model/diagnostics.h"
#include "ports/alerts.h"
#include "ports/clipboard.h"
#include "ports/file_dialogs.h"
#include "ports/settings.h"
#include "ports/text_file_writer.h"
#include "scaleedit/phrase_score.h"
#include "sound/audio_input.h"
#include "sound/audio_output.h"
#include "sound/clock.h"
#include "sound/play_program.h"
#include "view/canvas.h"

namespace sorvel::testing {

// Collects diagnostic lines while it lives (and keeps them off the test's output).
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

// What an audio output was asked to do. An output a factory makes for a tool window writes
// into a log the test keeps, so its life (opened, closed) stays visible after it is gone.
struct OutputLog {
    std::vector<std::string> calls;  // connect, schedule, now, start, play
    std::vector<PcmFormat> connected;
    std::vector<PcmBuffer> buffers;
    std::vector<std::shared_ptr<const PlayProgram>> nowPrograms;  // played at once
    std::optional<std::string> startError;                        // start() fails with this text
    int opened = 0, closed = 0, played = 0;
};

// Records every call and every buffer. Programs play by the given clock (none: they stay
// where they begin), each one after the end of the one before, `latency` seconds behind what
// is rendered.
class CapturingAudioOutput : public AudioOutput, public OutputLog {
  public:
    explicit CapturingAudioOutput(PcmFormat format = {}, const Clock* clock = nullptr)
        : format_(format), clock_(clock), log_(*this) {}
    // An output writing into `shared`, as a tuner's factory makes them.
    explicit CapturingAudioOutput(OutputLog& shared, PcmFormat format = {48000.0, 2})
        : format_(format), clock_(nullptr), log_(shared) {
        ++log_.opened;
    }
    ~CapturingAudioOutput() override {
        if (&log_ != this) ++log_.closed;
    }

    PcmFormat outputFormat() const override { return format_; }
    void setFormat(PcmFormat format) { format_ = format; }
    void connect(const PcmFormat& format) override {
        log_.calls.push_back("connect");
        log_.connected.push_back(format);
    }
    void scheduleBuffer(PcmBuffer buffer) override {
        log_.calls.push_back("schedule");
        log_.buffers.push_back(std::move(buffer));
    }
    void playNow(PcmBuffer buffer) override {
        log_.calls.push_back("now");
        log_.buffers.push_back(std::move(buffer));
    }
    std::optional<std::string> start() override {
        log_.calls.push_back("start");
        return log_.startError;
    }
    void play() override {
        log_.calls.push_back("play");
        ++log_.played;
    }
    bool available() const override { return !gone; }
    void playProgramNow(std::shared_ptr<const PlayProgram> program) override {
        log_.calls.push_back("program now");
        log_.nowPrograms.push_back(std::move(program));
    }

    void startProgram(std::shared_ptr<const PlayProgram> program) override {
        const double now = clock_ ? clock_->now() : 0.0;
        double begin = now;
        if (!programs.empty()) {
            const Run& last = programs.back();
            if (last.end < std::numeric_limits<std::int64_t>::max()) {
                const auto tail = static_cast<double>(last.program->tailAfter(last.end));
                begin = std::max(now, last.start + tail / format_.sampleRate);
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
        const double rate = format_.sampleRate;
        for (auto r = programs.rbegin(); r != programs.rend(); ++r) {
            if (now < r->start && r + 1 != programs.rend()) continue;
            const auto rendered =
                std::max<std::int64_t>(0, static_cast<std::int64_t>((now - r->start) * rate));
            const auto behind = static_cast<std::int64_t>(latency * rate);
            return {r->program.get(), rendered, std::max<std::int64_t>(0, rendered - behind)};
        }
        return {};
    }
    // The frames of run i as heard, up to its end (or `frames` of a loop).
    std::vector<float> renderRun(std::size_t i, std::int64_t frames = -1) const {
        const Run& r = programs.at(i);
        std::vector<float> out(static_cast<std::size_t>(frames >= 0 ? frames : r.end));
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
    bool gone = false;  // no sound server

  private:
    PcmFormat format_;
    const Clock* clock_;
    OutputLog& log_;
};

// A sound input whose blocks the test hands over on its own thread; its life is visible.
struct InputLog {
    int opened = 0, stopped = 0, closed = 0;
    std::optional<std::string> startError;
};

class ScriptedInput : public AudioInput {
  public:
    ScriptedInput(InputLog& log, double rate) : log_(log), rate_(rate) { ++log_.opened; }
    ~ScriptedInput() override { ++log_.closed; }
    double sampleRate() const override { return rate_; }
    std::optional<std::string> start(BlockHandler onBlock, ErrorHandler onError) override {
        if (log_.startError) return log_.startError;
        onBlock_ = std::move(onBlock);
        onError_ = std::move(onError);
        return std::nullopt;
    }
    void stop() override {
        ++log_.stopped;
        onBlock_ = nullptr;
        onError_ = nullptr;
    }
    // Hands the samples over in blocks of the given size, as a sound card would.
    void deliver(const std::vector<float>& samples, std::size_t block = 480) {
        for (std::size_t i = 0; i < samples.size() && onBlock_; i += block)
            onBlock_(samples.data() + i, std::min(block, samples.size() - i));
    }
    void fail(const std::string& message) {
        if (onError_) onError_(message);
        onBlock_ = nullptr;
        onError_ = nullptr;
    }

  private:
    InputLog& log_;
    double rate_;
    BlockHandler onBlock_;
    ErrorHandler onError_;
};

struct Alert {
    std::string text;
    std::string informative;
};

class FakeAlerts : public Alerts {
  public:
    void showAlert(const std::string& text, const std::string& informative) override {
        shown.push_back({text, informative});
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Alert& a : shown) out.push_back(a.text);
        return out;
    }
    std::vector<Alert> shown;
};

class FakeDialogs : public FileDialogs {
  public:
    std::optional<std::string> saveFile(const std::string& suggestedName) override {
        saveSuggestions.push_back(suggestedName);
        return saveAnswer;
    }
    std::optional<std::string> openFile() override {
        ++openCalls;
        return openAnswer;
    }
    std::optional<std::string> chooseFolder(const std::string& message) override {
        folderMessages.push_back(message);
        return folderAnswer;
    }
    std::optional<std::string> saveAnswer, openAnswer, folderAnswer;
    std::vector<std::string> saveSuggestions, folderMessages;
    int openCalls = 0;
};

class FakeSettings : public Settings {
  public:
    bool has(const std::string& key) const override { return values.count(key) > 0; }
    std::string get(const std::string& key) const override {
        const auto it = values.find(key);
        return it == values.end() ? std::string() : it->second;
    }
    void set(const std::string& key, const std::string& value) override { values[key] = value; }
    void sync() override { synced = values; }
    std::map<std::string, std::string> values;
    // What the last sync stored permanently.
    std::map<std::string, std::string> synced;
};

class FakeWriter : public TextFileWriter {
  public:
    std::optional<std::string> writeFile(const std::string& path, std::string_view bytes) override {
        if (failWith) return failWith;
        files[path] = std::string(bytes);
        if (writeThrough) std::ofstream(path, std::ios::binary) << bytes;
        return std::nullopt;
    }
    std::optional<std::string> failWith;
    // Also writes the file, for readers that look at the disk afterwards.
    bool writeThrough = false;
    std::map<std::string, std::string> files;
};

class FakeClipboard : public Clipboard {
  public:
    std::optional<std::string> plainText() const override { return text; }
    bool hasPlainText() const override { return text.has_value(); }
    bool isEmpty() const override { return !text && !cells; }
    void setPlainText(const std::string& t) override {
        text = t;
        cells.reset();
        ++writes;
    }
    std::optional<std::string> cellData() const override { return cells; }
    void setCellData(const std::string& bytes) override {
        cells = bytes;
        text.reset();
        ++writes;
    }
    std::optional<std::string> text, cells;
    int writes = 0;
};

// The score the phrase builder sends its line to.
class FakePhraseScore : public PhraseScore {
  public:
    bool appendCells(const std::vector<ScoreCell>& cells) override {
        ++appendCalls;
        if (accept) appended.insert(appended.end(), cells.begin(), cells.end());
        return accept;
    }
    void playCells(const std::vector<ScoreCell>& cells) override { played = cells; }
    bool accept = true;
    int appendCalls = 0;
    std::vector<ScoreCell> appended, played;
};

// Every drawing call as one line of text, numbers to two decimals, for golden files.
class RecordingCanvas : public Canvas {
  public:
    void fillRect(const Rect& r, Color c) override { put("fill", r, c); }
    void strokeRect(const Rect& r, Color c, double w) override { put("stroke", r, c, w); }
    void fillEllipse(const Rect& r, Color c) override { put("ellipse", r, c); }
    void line(Point a, Point b, double w, Color c, std::optional<Dash> dash) override {
        if (dash) {
            put("line", a, b, w, c, "dash", dash->on, dash->off, dash->phase);
        } else {
            put("line", a, b, w, c);
        }
    }
    void image(const Rect& r, const std::string& path) override { put("image", r, path); }
    void text(Point at, const std::string& t, const std::string& font, double size, double kerning,
              Color c) override {
        put("text", at, "'" + t + "'", font, size, kerning, c);
    }
    void polyline(const std::vector<Point>& points, double w, Color c) override {
        std::ostringstream out;
        out << "polyline " << num(w) << ' ' << colour(c);
        for (const Point& p : points) out << ' ' << num(p.x) << ',' << num(p.y);
        lines.push_back(out.str());
    }
    void curve(Point a, Point c1, Point c2, Point b, double w, Color c) override {
        put("curve", a, c1, c2, b, w, c);
    }

    std::string recorded() const {
        std::string out;
        for (const std::string& l : lines) out += l + '\n';
        return out;
    }
    std::vector<std::string> lines;

  private:
    static std::string num(double v) {
        std::ostringstream out;
        out << std::round(v * 100) / 100 + 0.0;  // no "-0"
        return out.str();
    }
    static std::string colour(Color c) {
        if (c == Color::black()) return "black";
        if (c == Color::white()) return "white";
        if (c == Color::yellow()) return "yellow";
        if (c == Color::red()) return "red";
        std::ostringstream out;
        out << "rgba(" << int(c.r) << ',' << int(c.g) << ',' << int(c.b) << ',' << int(c.a) << ')';
        return out.str();
    }
    static std::string part(double v) { return num(v); }
    static std::string part(const Point& p) { return num(p.x) + ',' + num(p.y); }
    static std::string part(const Rect& r) {
        return num(r.x) + ',' + num(r.y) + ' ' + num(r.width) + 'x' + num(r.height);
    }
    static std::string part(Color c) { return colour(c); }
    static std::string part(const std::string& s) { return s; }
    static std::string part(const char* s) { return s; }
    template <typename... T>
    void put(const char* kind, const T&... parts) {
        std::string l = kind;
        ((l += ' ', l += part(parts)), ...);
        lines.push_back(l);
    }
};

// A fresh folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("sorvel_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path p = path_ / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }

  private:
    std::filesystem::path path_;
};

}  // namespace sorvel::testing
