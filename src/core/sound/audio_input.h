#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace sorvel {

// A sound input (a microphone): once started it hands over mono 32-bit float blocks at its
// sample rate, one after the other, on a thread of its own.
class AudioInput {
  public:
    // Called for every recorded block, in order, never twice at the same time.
    using BlockHandler = std::function<void(const float* samples, std::size_t count)>;
    // Called once when recording fails or ends unexpectedly; no block follows it.
    using ErrorHandler = std::function<void(const std::string& message)>;

    virtual ~AudioInput() = default;
    // The rate of the delivered samples, known before the start.
    virtual double sampleRate() const = 0;
    // Starts recording; the error text when it cannot start at all. A failure found later
    // (no server, no device) arrives through onError.
    virtual std::optional<std::string> start(BlockHandler onBlock, ErrorHandler onError) = 0;
    // Stops recording; when it returns no handler runs any more.
    virtual void stop() = 0;
};

}  // namespace sorvel
