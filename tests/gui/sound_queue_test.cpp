// The queue between the main thread and the audio thread: buffers back to back, and dropping
// what has not begun.
#include <gtest/gtest.h>

#include <vector>

#include "sound_output.h"

namespace sorvel::gui {
namespace {

std::vector<float> readSamples(BufferReader& reader, std::size_t n) {
    std::vector<float> out(n, -1.0f);
    reader.read(out.data(), n);
    return out;
}

TEST(SoundQueue, DroppingKeepsTheSoundingBufferAndLaterOnes) {
    // {samples read before the drop, samples expected after it}
    const struct {
        std::size_t readBefore;
        std::vector<float> after;
    } cases[] = {
        // Inside the first buffer: its rest sounds, the second and third are dropped, the one
        // queued after the drop plays.
        {1, {1, 1, 4, 4, 0, 0}},
        // Nothing read yet: nothing has begun, all three go.
        {0, {4, 4, 0, 0, 0, 0}},
        // Inside the second buffer.
        {4, {2, 4, 4, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        BufferRing queued, voices, done;
        BufferReader reader(queued, voices, done, 1);
        std::vector<std::vector<float>*> buffers = {
            new std::vector<float>{1, 1, 1}, new std::vector<float>{2, 2},
            new std::vector<float>{3, 3, 3}, new std::vector<float>{4, 4}};
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(queued.push(buffers[i]));
        readSamples(reader, c.readBefore);
        reader.dropThrough(3);
        ASSERT_TRUE(queued.push(buffers[3]));
        EXPECT_EQ(readSamples(reader, 6), c.after) << c.readBefore;
        int returned = 0;
        while (done.pop()) ++returned;
        EXPECT_EQ(returned, 4) << "every buffer goes back to be freed";
        for (auto* b : buffers) delete b;
    }
}

TEST(SoundQueue, BuffersFollowEachOtherWithoutAGap) {
    BufferRing queued, voices, done;
    BufferReader reader(queued, voices, done, 1);
    std::vector<float> a{1, 2, 3}, b{4, 5};
    ASSERT_TRUE(queued.push(&a));
    ASSERT_TRUE(queued.push(&b));
    EXPECT_EQ(readSamples(reader, 2), (std::vector<float>{1, 2}));
    EXPECT_EQ(readSamples(reader, 5), (std::vector<float>{3, 4, 5, 0, 0}));
}

}  // namespace
}  // namespace sorvel::gui
