// Readers must need memory in proportion to what they keep, not to the size of the text:
// a file of blank lines or of commas costs nothing beyond its own bytes.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "model/score_file.h"
#include "scaleedit/scale_table.h"

namespace {

std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

// Peak bytes allocated while f runs, above what was live before.
template <typename F>
std::size_t peakDuring(F&& f) {
    const std::size_t before = liveBytes.load();
    peakBytes = before;
    f();
    return peakBytes.load() - before;
}

}  // namespace

// Every allocation is counted. The array and nothrow forms of new and delete call these by
// default; the sized delete is given as well because the compiler asks for it.
void* operator new(std::size_t size) {
    // The size is stored in front of the block so that delete can count it back.
    auto* block = static_cast<std::size_t*>(std::malloc(size + sizeof(std::max_align_t)));
    if (!block) throw std::bad_alloc();
    *block = size;
    const std::size_t now = liveBytes += size;
    std::size_t peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}
void operator delete(void* p) noexcept {
    if (!p) return;
    auto* block = reinterpret_cast<std::size_t*>(static_cast<char*>(p) - sizeof(std::max_align_t));
    liveBytes -= *block;
    std::free(block);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace sorvel {
namespace {

TEST(ReaderMemory, ScoreFileOfBlankLinesCostsNoMoreThanItsCells) {
    const std::string blank = "<,sorvel2,0,3,440,0,0\n" + std::string(8u << 20, '\n');
    ScoreParseResult r;
    EXPECT_LT(peakDuring([&] { r = parseScore(blank); }), 64u * 1024u)
        << "bytes held while reading 8 MiB of blank lines";
    ASSERT_TRUE(r.score.has_value());
    EXPECT_TRUE(r.score->musicData.empty());

    // A header of millions of fields is read without keeping them.
    const std::string commas = "<,sorvel2,0,3" + std::string(8u << 20, ',') + "\n";
    EXPECT_LT(peakDuring([&] { EXPECT_TRUE(parseScore(commas).score.has_value()); }), 64u * 1024u);

    // Cells themselves are kept, of course: 16 bytes each, with vector growth.
    std::string cells = "<,sorvel2,0,3,440,0,0\n";
    for (int i = 0; i < 100000; ++i) cells += "17,5\n";
    EXPECT_LT(peakDuring([&] { EXPECT_EQ(parseScore(cells).score->musicData.size(), 100000u); }),
              100000u * 16u * 3u);
}

TEST(ReaderMemory, HundredMegabyteChordLineIsRefusedWithoutACopy) {
    const std::string text = "<,sorvel2,0,3,440,0,0\n#" + std::string(100u << 20, 'C') + "\n";
    ScoreParseResult r;
    EXPECT_LT(peakDuring([&] { r = parseScore(text); }), 64u * 1024u);
    EXPECT_EQ(r.rejection, ScoreRejection::UnknownFormat);
    EXPECT_NE(r.error.find("line 2"), std::string::npos) << r.error;
}

TEST(ReaderMemory, PatternTableRowOfCommasKeepsTwoFields) {
    const std::string row = "maj,0:4:7" + std::string(4u << 20, ',') + "\n";
    std::vector<ScaleRow> rows;
    EXPECT_LT(peakDuring([&] { rows = parseScaleRows(row); }), 64u * 1024u);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].size(), 2u);
}

}  // namespace
}  // namespace sorvel
