#pragma once

#include <atomic>
#include <memory>

#include "sound/audio_input.h"

namespace sorvel::gui {

// The platform's default sound input (the microphone), recording mono float samples on a
// thread of its own. On Linux it reads in the callbacks of the PulseAudio (or PipeWire)
// server, on a connection of its own; when the server goes away it waits and records on once
// it is back, and a server that never answered arrives as an error through the handler.
// Elsewhere it uses Qt Multimedia. Nothing here holds up the window.
class SoundInput : public AudioInput {
  public:
    static constexpr double kSampleRate = 48000.0;
    // Samples per delivered block: 20 ms. Smaller blocks answer a few ms sooner but wake the
    // recording thread and the sound library's own thread twice as often.
    static constexpr std::size_t kBlockFrames = 960;

    SoundInput();
    ~SoundInput() override;

    double sampleRate() const override { return kSampleRate; }
    std::optional<std::string> start(BlockHandler onBlock, ErrorHandler onError) override;
    void stop() override;

    class Backend;

  private:
    std::unique_ptr<Backend> backend_;
};

}  // namespace sorvel::gui
