// The reader between the main thread and the audio thread: queued buffers back to back,
// dropping what has not begun, and entry tones that sound at once over the queue, cut each
// other with a short fade and fade out at their end instead of clicking. And the sound
// server's connection, tried again once a second while there is none.
#include <gtest/gtest.h>

#include <QByteArray>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "sound_output.h"
#if defined(SORVEL_HAVE_PULSE)
#include "pulse_server.h"
#endif

namespace sorvel::gui {
namespace {

constexpr std::size_t kFade = BufferReader::kFadeFrames;

struct Mixer {
    BufferRing queued, voices, done;
    BufferReader reader{queued, voices, done, 1};
    std::vector<std::unique_ptr<std::vector<float>>> owned;

    void voice(float level, std::size_t frames) { ASSERT_TRUE(voices.push(make(level, frames))); }
    void queue(float level, std::size_t frames) { ASSERT_TRUE(queued.push(make(level, frames))); }
    std::vector<float> read(std::size_t n) {
        std::vector<float> out(n, -9.0f);
        reader.read(out.data(), n);
        return out;
    }

  private:
    std::vector<float>* make(float level, std::size_t frames) {
        owned.push_back(std::make_unique<std::vector<float>>(frames, level));
        return owned.back().get();
    }
};

TEST(SoundQueue, BuffersFollowEachOtherAndDroppingKeepsTheSoundingOne) {
    const struct {
        std::size_t readBefore;  // samples read before the drop
        std::vector<float> after;
    } cases[] = {
        {0, {4, 4, 0, 0, 0, 0}},  // nothing has begun: all three go
        {1, {1, 1, 4, 4, 0, 0}},  // inside the first: its rest sounds, the later ones go
        {4, {2, 4, 4, 0, 0, 0}},  // inside the second
    };
    for (const auto& c : cases) {
        Mixer m;
        m.queue(1, 3);
        m.queue(2, 2);
        m.queue(3, 3);
        m.read(c.readBefore);
        m.reader.dropThrough(3);
        m.queue(4, 2);
        EXPECT_EQ(m.read(6), c.after) << c.readBefore;
        int returned = 0;
        while (m.done.pop()) ++returned;
        EXPECT_EQ(returned, 4) << "every buffer goes back to be freed";
    }
}

TEST(SoundMix, VoicesCutEachOtherWithAFadeAndMixOverTheQueue) {
    Mixer m;
    m.queue(0.25f, 1000);
    m.voice(0.5f, 10000);
    std::vector<float> out = m.read(1000);
    EXPECT_FLOAT_EQ(out[0], 0.75f);  // at once, over the queue
    EXPECT_FLOAT_EQ(out[999], 0.75f);

    // A new voice sounds at once; the old one fades out within the fade length.
    m.voice(0.125f, 2000);
    out = m.read(2 * kFade);
    EXPECT_GT(out[0], 0.125f + 0.49f);
    for (std::size_t i = 1; i < kFade; ++i) EXPECT_LE(out[i], out[i - 1]) << i;
    EXPECT_FLOAT_EQ(out[kFade], 0.125f);

    // Its end fades to silence instead of stopping at full level.
    out = m.read(2000);
    const std::size_t end = 2000 - 2 * kFade;  // frames of the voice still to come
    EXPECT_FLOAT_EQ(out[end - kFade - 1], 0.125f);
    EXPECT_LT(out[end - 1], 0.125f / kFade * 2);
    EXPECT_FLOAT_EQ(out[end], 0.0f);
}

TEST(ProgramFeed, ProgramsFollowEachOtherSampleExactlyAndEndWhereTold) {
    // Tempo 60 at 100 frames a second: a count-in beat of 100 frames, its click of 3.
    PlayProgram::Options options;
    options.sampleRate = 100;
    options.tempo = 60;
    options.beats = 1;
    auto first = std::make_shared<const PlayProgram>(std::vector<PlayEntry>{{20, 1.0f}}, options);
    auto second = std::make_shared<const PlayProgram>(std::vector<PlayEntry>{}, options);
    ProgramFeed feed(100);
    std::vector<float> out(500, -1.0f);
    feed.start(first);
    feed.render(out.data(), 50, 1, 1.0f);
    feed.start(second);  // waits for the first to end
    feed.endAt(first.get(), 150);
    feed.render(out.data() + 50, 450, 1, 1.0f);
    feed.heardNow(0);
    std::vector<float> want(500, 0.0f);
    first->render(0, want.data(), 153, 1, 150);  // up to the end told, and its click's tail
    second->render(0, want.data() + 153, 347, 1, second->length());
    EXPECT_EQ(out, want);
    const ProgramClock clock = feed.clock();
    EXPECT_EQ(clock.program, second.get());
    EXPECT_EQ(clock.rendered, 347);
}

#if defined(SORVEL_HAVE_PULSE)
// With no sound server the connection is tried again once a second, not more and more often.
TEST(PulseServer, WithoutAServerRetriesOnceASecond) {
    const QByteArray saved = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:/nonexistent/sorvel-no-server");
    {
        PulseServer server("Sorvel Score test");
        std::this_thread::sleep_for(std::chrono::milliseconds(3500));
        EXPECT_EQ(server.state(), ServerState::Gone);
        // The first try and one a second after it (a slow machine makes fewer, never more).
        EXPECT_GE(server.attempts(), 2u);
        EXPECT_LE(server.attempts(), 5u);
    }
    saved.isNull() ? qunsetenv("PULSE_SERVER") : qputenv("PULSE_SERVER", saved);
}
#endif

}  // namespace
}  // namespace sorvel::gui
