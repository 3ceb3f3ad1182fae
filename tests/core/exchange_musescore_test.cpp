// Our MusicXML and MIDI as a real notation program reads them: MuseScore 3 (mscore3) converts
// both to PDF, and the MusicXML, plain and compressed, it writes from ours reads back to the
// same cells and chord lines. Skipped where mscore3 is not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "exchange/audio_export.h"
#include "exchange/musicxml_archive.h"
#include "exchange/musicxml_export.h"
#include "exchange/musicxml_import.h"
#include "fakes.h"

namespace sorvel::exchange {
namespace {

namespace fs = std::filesystem;

// Runs mscore3 offscreen; true when it exits with 0.
bool convert(const fs::path& in, const fs::path& out) {
    const std::string command = "QT_QPA_PLATFORM=offscreen timeout 300 mscore3 -o '" +
                                out.string() + "' '" + in.string() + "' >'" + out.string() +
                                ".log' 2>&1";
    return std::system(command.c_str()) == 0;
}

// MuseScore decides stem directions itself, so a note's form (our glyph choice) is not
// expected to survive; everything else is.
std::vector<ScoreCell> primaryForms(std::vector<ScoreCell> cells) {
    for (ScoreCell& c : cells) {
        if (c.onpIndex >= 29 && c.onpIndex <= 40) c.onpIndex -= 28;
        if (c.onpIndex >= 47 && c.onpIndex <= 52) c.onpIndex -= 6;
        if (c.onpIndex >= 59 && c.onpIndex <= 64) c.onpIndex -= 6;
    }
    return cells;
}

// Full 4/4 bars of ties, triplets, dots, rests, accidentals, repeats and a first ending.
Score bars() {
    Score s;
    s.musicData = {
        {17, 26}, {4, 5},   {8, 7},   {9, 7},   {12, 6},  {14, 7},  {17, 25}, {17, 54}, {17, 5},
        {17, 17}, {17, 25}, {19, 42}, {21, 42}, {22, 42}, {24, 41}, {26, 41}, {27, 41}, {17, 17},
        {17, 28}, {36, 3},  {17, 19}, {38, 9},  {0, 9},   {3, 5},   {17, 27}, {17, 26}, {3, 1},
        {17, 25}, {31, 8},  {33, 9},  {1, 4},   {17, 27}, {6, 43},  {7, 43},  {10, 43}, {11, 7},
        {17, 18}, {13, 11}, {15, 11}, {16, 11}, {18, 11}, {23, 5},  {17, 25}, {22, 1},
    };
    s.codeData = {" C     G7  Am/E    xyz        F#m7b5", "Bbmaj7"};
    s.settings = {0, 2, 1, 0, 440};  // 100, Bb, 4
    return s;
}

TEST(MuseScore, ReadsOurMusicXmlAndMidiAndWritesBackTheSameCells) {
    if (std::system("command -v mscore3 >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "mscore3 is not installed: MuseScore interoperability not checked";
    const fs::path dir =
        fs::temp_directory_path() / ("sorvel-musescore-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const Score s = bars();
    {
        testing::DiagCapture quiet;
        const std::string xml = writeMusicXml(s, "Interop");
        std::ofstream(dir / "score.musicxml", std::ios::binary) << xml;
        std::ofstream(dir / "score.mxl", std::ios::binary) << writeMusicXmlArchive(xml).value();
        std::ofstream(dir / "score.mid", std::ios::binary) << writeMidi(s, "Interop");
    }
    for (const char* in : {"score.musicxml", "score.mid"}) {
        EXPECT_TRUE(convert(dir / in, dir / "out.pdf")) << in;
        EXPECT_GT(fs::file_size(dir / "out.pdf"), 1000u) << in;
    }

    // Ours in, MuseScore's own out, both compressed and plain.
    for (const auto& [in, out] :
         {std::pair{"score.musicxml", "back.musicxml"}, std::pair{"score.mxl", "back.mxl"}}) {
        ASSERT_TRUE(convert(dir / in, dir / out)) << in;
        std::ifstream file(dir / out, std::ios::binary);
        const MusicXmlImport back =
            importMusicXml(std::string(std::istreambuf_iterator<char>(file), {}));
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_TRUE(back.notes.empty()) << back.notes.front();
        EXPECT_EQ(primaryForms(back.score.musicData), primaryForms(s.musicData));
        EXPECT_EQ(back.score.codeData, s.codeData);
        EXPECT_EQ(back.score.settings, s.settings);
        EXPECT_EQ(back.title, "Interop");
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace sorvel::exchange
