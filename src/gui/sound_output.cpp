#include "sound_output.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <string>

#include "model/diagnostics.h"

#if defined(SORVEL_HAVE_PULSE)
#include "pulse_server.h"
#else
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QMetaObject>
#include <QThread>
#endif

namespace sorvel::gui {

namespace {

constexpr double kSampleRate = 48000.0;
constexpr std::int64_t kChannels = 2;
// Entry tones and the tuner: about 15 ms from a new buffer to the speaker.
constexpr double kVoiceBufferSeconds = 0.015;
constexpr double kVoiceRequestSeconds = 0.005;
// The score: a buffer long enough to ride out a busy machine (the count-in hides the start),
// asked for in pieces small enough that an underrun costs no long wait.
constexpr double kProgramBufferSeconds = 0.25;
constexpr double kProgramRequestSeconds = 0.025;

std::atomic<float> masterVolume{1.0f};

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

bool BufferRing::push(std::vector<float>* buffer) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    const std::size_t next = (tail + 1) % kCapacity;
    if (next == head_.load(std::memory_order_acquire)) return false;
    slots_[tail] = buffer;
    tail_.store(next, std::memory_order_release);
    return true;
}

std::vector<float>* BufferRing::pop() {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return nullptr;
    std::vector<float>* buffer = slots_[head];
    head_.store((head + 1) % kCapacity, std::memory_order_release);
    return buffer;
}

void BufferReader::retire(std::vector<float>* buffer) {
    // Freed on the main thread; should that ring be full, the buffer is kept.
    if (buffer) done_.push(buffer);
}

void BufferReader::readQueue(float* out, std::size_t n) {
    std::size_t written = 0;
    while (written < n) {
        if (!current_) {
            current_ = queued_.pop();
            offset_ = 0;
            if (!current_) break;
            if (++popped_ <= dropThrough_.load(std::memory_order_acquire)) {
                // Dropped before it began: straight back to the main thread.
                done_.push(current_);
                current_ = nullptr;
                continue;
            }
        }
        const std::size_t k = std::min(n - written, current_->size() - offset_);
        std::memcpy(out + written, current_->data() + offset_, k * sizeof(float));
        written += k;
        offset_ += k;
        if (offset_ >= current_->size()) {
            retire(current_);
            current_ = nullptr;
        }
    }
    std::fill(out + written, out + n, 0.0f);
}

bool BufferReader::mixVoice(Voice& voice, float* out, std::size_t n) {
    if (!voice.samples) return false;
    const std::vector<float>& s = *voice.samples;
    const std::size_t totalFrames = s.size() / channels_;
    for (std::size_t i = 0; i + channels_ <= n && voice.offset < s.size(); i += channels_) {
        const std::size_t frame = voice.offset / channels_;
        // Fade over the last frames of the buffer, and over the frames after a cut.
        float gain = std::min(1.0f, static_cast<float>(totalFrames - frame) / kFadeFrames);
        if (voice.fadeLeft > 0) {
            gain = std::min(gain, static_cast<float>(voice.fadeLeft) / kFadeFrames);
        }
        for (std::size_t c = 0; c < channels_; ++c) out[i + c] += gain * s[voice.offset + c];
        voice.offset += channels_;
        if (voice.fadeLeft > 0 && --voice.fadeLeft == 0) voice.offset = s.size();
    }
    if (voice.offset < s.size()) return true;
    retire(voice.samples);
    voice = Voice{};
    return false;
}

void BufferReader::read(float* out, std::size_t n) {
    readQueue(out, n);
    // The newest voice wins; one still sounding fades out under it.
    while (std::vector<float>* next = voices_.pop()) {
        if (voice_.samples) {
            retire(fading_.samples);
            fading_ = voice_;
            fading_.fadeLeft = kFadeFrames;
        }
        voice_ = Voice{next, 0, 0};
    }
    mixVoice(fading_, out, n);
    mixVoice(voice_, out, n);
}

ProgramFeed::~ProgramFeed() = default;

void ProgramFeed::start(std::shared_ptr<const PlayProgram> program) {
    collect();
    auto run = std::make_unique<Run>();
    run->end.store(program->length(), std::memory_order_relaxed);
    run->program = std::move(program);
    // A program that has not begun yet is replaced (its run is freed once a later one runs).
    next_.store(run.get(), std::memory_order_release);
    runs_.push_back(std::move(run));
}

void ProgramFeed::replace(std::shared_ptr<const PlayProgram> program) {
    for (const auto& run : runs_) endAt(run->program.get(), 0);
    if (program) start(std::move(program));
}

void ProgramFeed::endAt(const PlayProgram* program, std::int64_t frame) {
    for (const auto& run : runs_) {
        if (run->program.get() != program) continue;
        std::int64_t end = run->end.load(std::memory_order_relaxed);
        while (frame < end &&
               !run->end.compare_exchange_weak(end, frame, std::memory_order_acq_rel)) {
        }
    }
}

void ProgramFeed::collect() {
    // Runs before the one being rendered are finished with; later ones (waiting, or replaced
    // while waiting) stay until the audio thread has moved past them.
    Run* current = current_.load(std::memory_order_acquire);
    if (!current) return;
    while (!runs_.empty() && runs_.front().get() != current) runs_.pop_front();
}

ProgramClock ProgramFeed::clock() const {
    const PlayProgram* program = nullptr;
    std::int64_t rendered = 0, heard = 0, at = 0;
    for (;;) {
        const std::uint64_t before = seq_.load(std::memory_order_acquire);
        if (before & 1) continue;
        program = heardProgram_.load(std::memory_order_relaxed);
        rendered = heardRendered_.load(std::memory_order_relaxed);
        heard = heardFrame_.load(std::memory_order_relaxed);
        at = heardAtNs_.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (seq_.load(std::memory_order_relaxed) == before) break;
    }
    if (!program) return {};
    // The speaker goes on at the output's rate since the last report, up to what was rendered.
    const auto since = static_cast<double>(nowNs() - at) * 1e-9 * rate_;
    heard = std::min(rendered, heard + static_cast<std::int64_t>(std::max(0.0, since)));
    return {program, rendered, heard};
}

void ProgramFeed::render(float* out, std::size_t frames, std::size_t channels, float gain) {
    Run* run = current_.load(std::memory_order_relaxed);
    std::size_t done = 0;
    while (done < frames) {
        std::int64_t rendered = run ? run->rendered.load(std::memory_order_relaxed) : 0;
        std::int64_t end = run ? run->end.load(std::memory_order_acquire) : 0;
        if (!run || rendered >= run->program->tailAfter(end)) {
            if (Run* next = next_.exchange(nullptr, std::memory_order_acq_rel)) {
                run = next;
                current_.store(run, std::memory_order_release);
                continue;
            }
        }
        float* at = out + done * channels;
        std::size_t n = frames - done;
        if (!run) {
            std::fill(at, at + n * channels, 0.0f);
            break;
        }
        const std::int64_t tail = run->program->tailAfter(end);
        if (rendered < tail) {
            // Up to the end of its sound only, so a program waiting begins right after it.
            n = static_cast<std::size_t>(
                std::min<std::int64_t>(static_cast<std::int64_t>(n), tail - rendered));
            run->program->render(rendered, at, n, channels, end, gain);
        } else {
            std::fill(at, at + n * channels, 0.0f);
        }
        run->rendered.store(rendered + static_cast<std::int64_t>(n), std::memory_order_release);
        done += n;
    }
}

void ProgramFeed::mixInto(float* out, std::size_t frames, std::size_t channels, float gain) {
    if (!current_.load(std::memory_order_relaxed) && !next_.load(std::memory_order_acquire)) return;
    const std::size_t piece = channels > 0 ? mix_.size() / channels : 0;
    if (piece == 0) return;
    for (std::size_t done = 0; done < frames; done += piece) {
        const std::size_t n = std::min(piece, frames - done);
        render(mix_.data(), n, channels, gain);
        float* at = out + done * channels;
        for (std::size_t i = 0; i < n * channels; ++i) at[i] += mix_[i];
    }
}

void ProgramFeed::heardNow(std::int64_t unheardFrames) {
    Run* run = current_.load(std::memory_order_relaxed);
    if (!run) return;
    const std::int64_t rendered = run->rendered.load(std::memory_order_relaxed);
    seq_.fetch_add(1, std::memory_order_acq_rel);
    std::atomic_thread_fence(std::memory_order_release);
    heardProgram_.store(run->program.get(), std::memory_order_relaxed);
    heardRendered_.store(rendered, std::memory_order_relaxed);
    heardFrame_.store(rendered - unheardFrames, std::memory_order_relaxed);
    heardAtNs_.store(nowNs(), std::memory_order_relaxed);
    seq_.fetch_add(1, std::memory_order_release);
}

class SoundOutput::Backend {
  public:
    virtual ~Backend() = default;
    enum Stream { Voice, Program };
    virtual void want(Stream stream) = 0;
    virtual double latencyMs() const = 0;
};

#if defined(SORVEL_HAVE_PULSE)

// Two streams on the process's server connection, rendered in the server's write callbacks
// from the queue and voices (low latency) and from the programs (a longer buffer).
class PulseBackend : public SoundOutput::Backend, public PulseClient {
  public:
    PulseBackend(BufferReader& reader, ProgramFeed& programs, ProgramFeed& voicePrograms,
                 PcmFormat format)
        : reader_(reader), programs_(programs), voicePrograms_(voicePrograms), format_(format) {
        PulseServer::Lock lock(server_);
        server_.add(this);
    }
    ~PulseBackend() override {
        PulseServer::Lock lock(server_);
        server_.remove(this);
        serverGone();
    }
    void want(Stream stream) override {
        PulseServer::Lock lock(server_);
        if (streams_[stream].wanted) return;
        streams_[stream].wanted = true;
        if (context_) open(stream);
    }
    double latencyMs() const override { return latencyMs_.load(); }

    void serverReady(pa_context* context) override {
        context_ = context;
        for (Stream s : {Voice, Program})
            if (streams_[s].wanted) open(s);
    }
    void serverGone() override {
        context_ = nullptr;
        for (Slot& slot : streams_) {
            if (!slot.stream) continue;
            pa_stream_set_write_callback(slot.stream, nullptr, nullptr);
            pa_stream_disconnect(slot.stream);
            pa_stream_unref(slot.stream);
            slot.stream = nullptr;
        }
    }

  private:
    static void applyGain(float* out, std::size_t n, float gain) {
        if (gain == 1.0f) return;
        for (std::size_t i = 0; i < n; ++i) out[i] *= gain;
    }

    struct Slot {
        PulseBackend* owner = nullptr;
        Stream kind = Voice;
        pa_stream* stream = nullptr;
        bool wanted = false;
    };

    std::uint32_t bytes(double seconds) const {
        return static_cast<std::uint32_t>(format_.sampleRate * seconds) *
               static_cast<std::uint32_t>(sizeof(float) *
                                          static_cast<std::size_t>(format_.channels));
    }

    void open(Stream kind) {
        Slot& slot = streams_[kind];
        if (slot.stream) return;
        slot.owner = this;
        slot.kind = kind;
        const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE,
                                          static_cast<std::uint32_t>(format_.sampleRate),
                                          static_cast<std::uint8_t>(format_.channels)};
        slot.stream =
            pa_stream_new(context_, kind == Voice ? "Tones" : "Score", &sampleFormat, nullptr);
        if (!slot.stream) return;
        const bool voice = kind == Voice;
        pa_buffer_attr attr;
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = bytes(voice ? kVoiceBufferSeconds : kProgramBufferSeconds);
        attr.minreq = bytes(voice ? kVoiceRequestSeconds : kProgramRequestSeconds);
        attr.prebuf = attr.minreq;
        attr.fragsize = static_cast<std::uint32_t>(-1);
        pa_stream_set_write_callback(slot.stream, &PulseBackend::onWrite, &slot);
        const auto flags = static_cast<pa_stream_flags_t>(
            PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
        if (pa_stream_connect_playback(slot.stream, nullptr, &attr, flags, nullptr, nullptr) < 0) {
            pa_stream_unref(slot.stream);
            slot.stream = nullptr;
        }
    }

    // On the server's thread: fills what the server asks for. Nothing here waits, locks or
    // allocates (the server's own buffer is written in place).
    static void onWrite(pa_stream* stream, std::size_t nbytes, void* userdata) {
        makeThisThreadRealtime();
        auto* slot = static_cast<Slot*>(userdata);
        PulseBackend& self = *slot->owner;
        const auto channels = static_cast<std::size_t>(self.format_.channels);
        const std::size_t frameBytes = sizeof(float) * channels;
        const float gain = masterVolume.load(std::memory_order_relaxed);
        while (nbytes >= frameBytes) {
            void* data = nullptr;
            std::size_t n = nbytes;
            if (pa_stream_begin_write(stream, &data, &n) < 0 || !data) return;
            const std::size_t frames = std::min(n, nbytes) / frameBytes;
            if (frames == 0) {
                pa_stream_cancel_write(stream);
                return;
            }
            auto* out = static_cast<float*>(data);
            if (slot->kind == Voice) {
                self.reader_.read(out, frames * channels);
                applyGain(out, frames * channels, gain);
                self.voicePrograms_.mixInto(out, frames, channels, gain);
            } else {
                self.programs_.render(out, frames, channels, gain);
            }
            pa_stream_write(stream, data, frames * frameBytes, nullptr, 0, PA_SEEK_RELATIVE);
            nbytes -= frames * frameBytes;
        }
        pa_usec_t latency = 0;
        int negative = 0;
        if (pa_stream_get_latency(stream, &latency, &negative) != 0) return;
        if (negative) latency = 0;
        if (slot->kind == Voice) {
            self.latencyMs_.store(static_cast<double>(latency) / 1000.0);
        } else {
            self.programs_.heardNow(static_cast<std::int64_t>(static_cast<double>(latency) * 1e-6 *
                                                              self.format_.sampleRate));
        }
    }

    PulseServer& server_ = PulseServer::output();
    BufferReader& reader_;
    ProgramFeed& programs_;
    ProgramFeed& voicePrograms_;
    PcmFormat format_;
    pa_context* context_ = nullptr;
    Slot streams_[2];
    std::atomic<double> latencyMs_{0.0};
};

#else

// Qt Multimedia's sink pulling from the queue, the voices and the programs, on a thread of
// its own.
class PullDevice : public QIODevice {
  public:
    PullDevice(BufferReader& reader, ProgramFeed& programs, ProgramFeed& voicePrograms,
               std::int64_t channels)
        : reader_(reader),
          programs_(programs),
          voicePrograms_(voicePrograms),
          channels_(channels) {}
    qint64 readData(char* data, qint64 maxSize) override {
        const auto channels = static_cast<std::size_t>(channels_);
        const auto frames = static_cast<std::size_t>(maxSize) / sizeof(float) / channels;
        auto* out = reinterpret_cast<float*>(data);
        const float gain = masterVolume.load(std::memory_order_relaxed);
        if (mix_.size() < frames * channels) mix_.resize(frames * channels);
        programs_.render(mix_.data(), frames, channels, gain);
        reader_.read(out, frames * channels);
        for (std::size_t i = 0; i < frames * channels; ++i) out[i] = out[i] * gain + mix_[i];
        voicePrograms_.mixInto(out, frames, channels, gain);
        programs_.heardNow(0);
        return static_cast<qint64>(frames * sizeof(float) * channels);
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 1 << 20; }

  private:
    BufferReader& reader_;
    ProgramFeed& programs_;
    ProgramFeed& voicePrograms_;
    std::int64_t channels_;
    std::vector<float> mix_;
};

class SinkBackend : public SoundOutput::Backend {
  public:
    SinkBackend(BufferReader& reader, ProgramFeed& programs, ProgramFeed& voicePrograms,
                PcmFormat format) {
        QAudioFormat f;
        f.setSampleRate(static_cast<int>(format.sampleRate));
        f.setChannelCount(static_cast<int>(format.channels));
        f.setSampleFormat(QAudioFormat::Float);
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(f)) {
            diag("No audio output device: sound is off");
            return;
        }
        thread_.start(QThread::TimeCriticalPriority);
        device_ = new PullDevice(reader, programs, voicePrograms, format.channels);
        device_->moveToThread(&thread_);
        QMetaObject::invokeMethod(
            device_,
            [this, device, f] {
                sink_ = new QAudioSink(device, f);
                sink_->setBufferSize(
                    f.bytesForDuration(static_cast<qint64>(kVoiceBufferSeconds * 1e6)));
                device_->open(QIODevice::ReadOnly);
                sink_->start(device_);
                latencyMs_ = f.durationForBytes(sink_->bufferSize()) / 1000.0;
            },
            Qt::BlockingQueuedConnection);
    }
    ~SinkBackend() override {
        if (!device_) return;
        QMetaObject::invokeMethod(
            device_,
            [this] {
                sink_->stop();
                delete sink_;
                delete device_;
            },
            Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    void want(Stream) override {}
    double latencyMs() const override { return latencyMs_; }

  private:
    QThread thread_;
    PullDevice* device_ = nullptr;
    QAudioSink* sink_ = nullptr;
    double latencyMs_ = 0;
};

#endif

SoundOutput::SoundOutput()
    : format_{kSampleRate, kChannels},
      reader_(queued_, voices_, done_, static_cast<std::size_t>(kChannels)),
      programs_(kSampleRate),
      voicePrograms_(kSampleRate) {
#if defined(SORVEL_HAVE_PULSE)
    backend_ = std::make_unique<PulseBackend>(reader_, programs_, voicePrograms_, format_);
#endif
}

SoundOutput::~SoundOutput() {
    backend_.reset();  // the audio thread lets go of the queues first
    reclaim();
    while (std::vector<float>* b = queued_.pop()) delete b;
    while (std::vector<float>* b = voices_.pop()) delete b;
}

ServerState SoundOutput::serverState() {
#if defined(SORVEL_HAVE_PULSE)
    return PulseServer::output().state();
#else
    return ServerState::Ready;
#endif
}

std::uint64_t SoundOutput::outages() {
#if defined(SORVEL_HAVE_PULSE)
    return PulseServer::output().outages();
#else
    return 0;
#endif
}

void SoundOutput::setVolume(float volume) {
    masterVolume.store(std::clamp(volume, 0.0f, 1.0f), std::memory_order_relaxed);
}

float SoundOutput::volume() {
    return masterVolume.load(std::memory_order_relaxed);
}

bool SoundOutput::available() const {
    return serverState() != ServerState::Gone;
}

double SoundOutput::latencyMs() const {
    return backend_ ? backend_->latencyMs() : 0.0;
}

void SoundOutput::reclaim() {
    while (std::vector<float>* b = done_.pop()) delete b;
}

std::vector<float>* SoundOutput::interleave(const PcmBuffer& buffer) const {
    const auto channels = static_cast<std::size_t>(format_.channels);
    auto* interleaved =
        new std::vector<float>(static_cast<std::size_t>(buffer.frameLength) * channels);
    for (std::size_t c = 0; c < channels && c < buffer.channelData.size(); ++c) {
        const std::vector<float>& src = buffer.channelData[c];
        const std::size_t n = std::min<std::size_t>(src.size(), buffer.frameLength);
        for (std::size_t i = 0; i < n; ++i) (*interleaved)[i * channels + c] = src[i];
    }
    return interleaved;
}

void SoundOutput::scheduleBuffer(PcmBuffer buffer) {
    reclaim();
    // Without a server nothing would take the buffers: they are dropped, not piled up.
    if (!available()) return;
    std::vector<float>* interleaved = interleave(buffer);
    if (!queued_.push(interleaved)) {
        delete interleaved;
        diag("Sound queue full: a tone was dropped");
        return;
    }
    ++pushed_;
}

bool SoundOutput::dropQueued() {
    reader_.dropThrough(pushed_);
    return true;
}

void SoundOutput::playNow(PcmBuffer buffer) {
    reclaim();
    if (!available()) return;
    std::vector<float>* interleaved = interleave(buffer);
    if (!voices_.push(interleaved)) delete interleaved;
}

std::optional<std::string> SoundOutput::start() {
#if defined(SORVEL_HAVE_PULSE)
    requestRealtimeFromRtkit();
#else
    if (!backend_)
        backend_ = std::make_unique<SinkBackend>(reader_, programs_, voicePrograms_, format_);
#endif
    // The stream starts once and then runs, playing silence between buffers, so queued
    // buffers follow each other without a gap.
    if (backend_) backend_->want(Backend::Voice);
    return std::nullopt;
}

void SoundOutput::startProgram(std::shared_ptr<const PlayProgram> program) {
    programs_.start(std::move(program));
#if !defined(SORVEL_HAVE_PULSE)
    if (!backend_)
        backend_ = std::make_unique<SinkBackend>(reader_, programs_, voicePrograms_, format_);
#endif
    if (backend_) backend_->want(Backend::Program);
}

void SoundOutput::playProgramNow(std::shared_ptr<const PlayProgram> program) {
    voicePrograms_.replace(std::move(program));
}

void SoundOutput::endProgramAt(const PlayProgram* program, std::int64_t frame) {
    programs_.endAt(program, frame);
}

}  // namespace sorvel::gui
