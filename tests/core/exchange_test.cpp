// Exchanging scores with other programs: MusicXML (plain and compressed) out and back in, the
// importer on files from outside with their own durations, its reports and refusals, the
// MIDI and WAV recordings of what playback plays, and both as MuseScore reads them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "exchange/audio_export.h"
#include "exchange/musicxml_archive.h"
#include "exchange/musicxml_export.h"
#include "exchange/musicxml_import.h"
#include "exchange/notation.h"
#include "fakes.h"
#include "golden.h"
#include "model/note_values.h"
#include "model/score_file.h"
#include "sound/tone.h"

namespace sorvel::exchange {
namespace {

constexpr std::int64_t kBar = 25, kRepeatStart = 26, kRepeatEnd = 27, kFirstEnding = 28;

// A chord line with each text at its column.
std::string chordLine(const std::vector<std::pair<std::size_t, std::string>>& texts) {
    std::string line;
    for (const auto& [column, text] : texts) line.append(column - line.size(), ' ') += text;
    return line;
}

// Two staff lines with every kind of cell: accidentals of both kinds, dots, both forms,
// triplet groups (one of alternate rests), ties (also across a rest), rests at a height,
// repeats with a first ending, a bar beside a repeat start, and chord lines of chord
// symbols (with degrees, a bass, no chord) and words over notes and rests.
Score richScore() {
    Score s;
    // clang-format off
    s.musicData = {
        {17, kRepeatStart}, {4, 5}, {8, 7}, {9, 35}, {17, kBar}, {12, 6}, {14, 7}, {17, 54},
        {17, kBar}, {17, 5}, {19, 42}, {21, 42}, {22, 42}, {17, 17}, {17, kBar},
        {17, kFirstEnding}, {36, 3}, {24, 19}, {38, 9}, {0, 37}, {17, kRepeatEnd},
        {17, kRepeatStart}, {3, 1}, {17, kBar}, {20, 47}, {27, 47}, {28, 47}, {17, kBar},
        {31, 12}, {33, 10}, {1, 11}, {2, 8}, {17, 23}, {17, 24}, {17, kBar},
        {17, 50}, {17, 50}, {17, 50}, {17, kBar}, {5, 2}, {17, kBar},
        {17, kRepeatStart}, {24, 61}, {17, 17}, {24, 5}, {15, 4}, {16, 53}, {16, 1}, {17, kBar},
        {6, 43}, {7, 43}, {10, 43}, {14, 44}, {17, 16}, {17, 21}, {18, 40}, {23, 39}, {25, 38},
        {26, 30}, {28, 22}, {17, kRepeatEnd},
    };
    s.codeData = {
        chordLine({{1, "C"}, {5, "G7b9"}, {10, "Am/E"}, {16, "dolce cantabile"}, {32, "F#m7b5"},
                   {39, "Bb13"}}),
        chordLine({{2, "Cadd9"}, {9, "D7sus4"}, {16, "N.C."}})};
    // clang-format on
    s.settings = {0, 2, 1, 1, 442};  // tempo 100, Bb, 3 beats
    return s;
}
const std::string kTitle = "Études & <Airs>";

TEST(MusicXml, RoundTripKeepsEveryCellChordAndSetting) {
    for (const std::int64_t key : {1, 2, 0}) {
        Score s = richScore();
        s.settings.key = key;
        const std::string xml = writeMusicXml(s, kTitle);
        for (const std::string& file : {xml, writeMusicXmlArchive(xml).value()}) {
            EXPECT_NE(recognizeMusicXml(file), MusicXmlKind::None);
            const MusicXmlImport back = importMusicXml(file);
            ASSERT_TRUE(back.ok) << back.error;
            EXPECT_TRUE(back.notes.empty()) << back.notes.front();
            EXPECT_EQ(back.score.musicData, s.musicData);
            EXPECT_EQ(back.score.codeData, s.codeData);
            EXPECT_EQ(back.score.settings, s.settings);
            EXPECT_EQ(back.title, kTitle);
        }
    }
}

// Our MusicXML as other programs read it, for the score of every kind of cell and for the
// plain notation of a score with the default settings.
TEST(MusicXml, WritesNotationAsTheGoldenFilesShowIt) {
    testing::expectGolden("rich_score.musicxml", writeMusicXml(richScore(), kTitle));
    // clang-format off
    const std::vector<ScoreCell> plain = {
        {4, 5}, {5, 5}, {6, 5}, {17, 33}, {1, 2}, {36, 12}, {38, 13}, {4, 41}, {4, 41}, {4, 41},
        {4, 55}, {4, 5}, {17, kBar}, {7, 5}, {4, 5}, {4, 5}, {17, kRepeatEnd}, {4, 5},
        {17, kRepeatStart}, {4, 5}, {17, kFirstEnding}, {4, 5}, {17, kRepeatEnd}};
    // clang-format on
    testing::expectGolden(
        "plain_score.musicxml",
        writeMusicXml(Score{plain, {"  C" + std::string(9, ' ') + "G7"}, {}}, ""));
}

std::string score(const std::string& measures) {
    return "<?xml version=\"1.0\"?><score-partwise version=\"4.0\"><part-list/><part id=\"P1\">" +
           measures + "</part></score-partwise>";
}

// A first part of one measure with one division a quarter, holding body.
std::string measure(const std::string& body) {
    return score("<measure><attributes><divisions>1</divisions></attributes>" + body +
                 "</measure>");
}
std::string quarter(const char* step, int octave, const std::string& rest = "") {
    return std::string("<note><pitch><step>") + step + "</step><octave>" + std::to_string(octave) +
           "</octave></pitch><duration>1</duration><voice>1</voice><type>quarter</type>" + rest +
           "</note>";
}

TEST(MusicXml, ImportReportsWhatItCannotCarry) {
    const std::string A4 = quarter("A", 4);
    // What the outside files below do not show: {file, cells, a part of the one note or ""}.
    const std::tuple<std::string, std::vector<ScoreCell>, std::string> cases[] = {
        // A whole-bar rest lasts the bar of the time signature in force, whatever its type.
        {score("<measure><attributes><divisions>1</divisions><time><beats>3</beats><beat-type>4"
               "</beat-type></time></attributes><note><rest measure=\"yes\"/><duration>3"
               "</duration><type>whole</type></note></measure><measure><note><rest/><type>whole"
               "</type></note></measure>"),
         {{17, 16}, {17, kBar}, {17, 16}},
         ""},
        {measure(A4 + "<forward><duration>1</duration><voice>1</voice></forward>" +
                 quarter("B", 4)),
         {{17, 5}, {17, 17}, {20, 5}},
         "silent"},
        {measure(A4 + "<backup><duration>1</duration></backup>" + quarter("B", 4)),
         {{17, 5}},
         "overlap"},
        {measure(quarter("A", 4, "<notations><fermata/></notations>")), {{17, 5}}, "markings"},
        {score("<measure><attributes><divisions>2</divisions></attributes><note><rest/>"
               "<duration>3</duration></note><note><pitch><step>B</step><alter>-1</alter>"
               "<octave>3</octave></pitch><duration>1</duration></note></measure>"),
         {{17, 18}, {2, 7}},
         ""},
        {measure("<direction><direction-type><words>" + std::string(kMaxChordLineChars + 1, 'x') +
                 "</words></direction-type></direction>" + A4),
         {{17, 5}},
         "beyond 4096 characters"},
        {measure(A4 + "</measure><measure>" + quarter("B", 4) +
                 "<barline><bar-style>light-heavy</bar-style></barline>"),
         {{17, 5}, {17, kBar}, {20, 5}, {17, kBar}},
         ""},
    };
    for (const auto& [xml, cells, reported] : cases) {
        const MusicXmlImport r = importMusicXml(xml);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.score.musicData, cells) << xml;
        if (reported.empty()) {
            EXPECT_TRUE(r.notes.empty()) << r.notes.front();
        } else {
            ASSERT_EQ(r.notes.size(), 1u) << xml;
            EXPECT_NE(r.notes.front().find(reported), std::string::npos)
                << reported << ": " << r.notes.front();
        }
    }
}

TEST(MusicXml, ImportRefusesWhatIsNoMelodyFile) {
    std::string deep;
    for (int i = 0; i < 200; ++i) deep += "<a>";
    const std::string laughs =
        "<?xml version=\"1.0\"?><!DOCTYPE s [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
        "\"&a;&a;&a;&a;\">]>"
        "<score-partwise><part><measure>&b;</measure></part></score-partwise>";
    const std::string external =
        "<?xml version=\"1.0\"?><!DOCTYPE s [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
        "<score-partwise>&x;</score-partwise>";
    const std::string container = "META-INF/container.xml";
    const auto naming = [](const char* path, const char* type) {
        return std::string("<container><rootfiles><rootfile full-path=\"") + path +
               "\" media-type=\"" + type + "\"/></rootfiles></container>";
    };
    const std::string toScore = naming("s.xml", "application/vnd.recordare.musicxml+xml");
    const std::string toPdf = naming("s.pdf", "application/pdf");
    const std::string spaces(kMaxMusicXmlBytes + 1, ' ');
    std::vector<ZipEntry> many(kMaxArchiveEntries + 1, {"", ""});
    for (std::size_t i = 0; i < many.size(); ++i) many[i].name = std::to_string(i);
    const auto zip = [](const std::vector<ZipEntry>& entries) {
        return writeZipArchive(entries).value();
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "not well-formed"},
        {"just text", "not well-formed"},
        {"<score-partwise><part>", "not well-formed"},
        {"<html><body/></html>", "not a MusicXML score"},
        {"<score-timewise/>", "Time-wise"},
        {"<score-partwise version=\"4.0\"/>", "no part"},
        {"<score-partwise>" + deep, "nested too deeply"},
        {laughs, "entities"},
        {external, "entities"},
        {spaces, "too large"},
        {std::string("PK\x03\x04rest", 8), "not a readable zip archive"},
        {zip({{"s.xml", "<score-partwise/>"}}), "has no META-INF/container.xml"},
        {zip({{container, toPdf}, {"s.pdf", "%PDF"}}), "names no MusicXML score"},
        {zip({{container, toScore}}), "has no s.xml"},
        {zip({{container, toScore}, {"s.xml", spaces}}), "zip bomb"},
        {zip(many), "more than 1000 files"},
        {zip({{container, toScore}, {"s.xml", "<score-partwise>" + deep}}), "nested too deeply"},
    };
    for (const auto& [text, why] : cases) {
        const MusicXmlImport r = importMusicXml(text);
        EXPECT_FALSE(r.ok) << why;
        EXPECT_TRUE(r.score.musicData.empty());
        EXPECT_NE(r.error.find(why), std::string::npos) << r.error;
    }
}

TEST(MusicXml, RecognizesMusicXmlByContent) {
    const std::string archive = writeMusicXmlArchive("<score-partwise/>").value();
    const std::string utf16("\xff\xfe<\0s\0c\0o\0r\0e\0-\0p\0a\0r\0t\0w\0i\0s\0e\0>\0", 34);
    const std::vector<std::pair<std::string, MusicXmlKind>> cases = {
        {"\xef\xbb\xbf<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<!DOCTYPE score-partwise "
         "PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" \"x.dtd\">\n<score-partwise "
         "version=\"4.0\">",
         MusicXmlKind::Plain},
        {"<score-timewise/>", MusicXmlKind::Plain},
        {utf16, MusicXmlKind::Plain},
        {archive, MusicXmlKind::Compressed},
        {"<score-partwiser/>", MusicXmlKind::None},
        {"<html><body/></html>", MusicXmlKind::None},
        {"<,sorvel2,0,0", MusicXmlKind::None},
        {writeZipArchive({{"a.txt", "text"}}).value(), MusicXmlKind::None},
        {archive.substr(0, 40), MusicXmlKind::None},
    };
    for (const auto& [bytes, kind] : cases) EXPECT_EQ(recognizeMusicXml(bytes), kind) << bytes;
}

// The file's own bar lengths in our divisions: each measure of the first part lasts as far as
// its notes (chord and grace notes aside), backups and forwards reach.
std::vector<double> barsOfFile(const std::string& xml) {
    std::vector<double> bars;
    double divisions = 1;
    auto number = [&](std::size_t from, const std::string& tag) {
        return std::stod(xml.substr(xml.find(tag, from) + tag.size(), 20));
    };
    const std::size_t partEnd = xml.find("</part>");
    for (std::size_t m = xml.find("<measure"); m < partEnd; m = xml.find("<measure", m + 1)) {
        if (xml[m + 8] != ' ' && xml[m + 8] != '>') continue;  // <measure-style>
        const std::size_t end = xml.find("</measure>", m);
        double pos = 0, furthest = 0;
        for (std::size_t p = xml.find('<', m + 1); p < end; p = xml.find('<', p + 1)) {
            const std::string tag = xml.substr(p, xml.find_first_of(" >", p) - p);
            if (tag == "<divisions") divisions = number(p, ">");
            if (tag != "<note" && tag != "<backup" && tag != "<forward") continue;
            const std::size_t close = xml.find("</" + tag.substr(1), p);
            const std::string body = xml.substr(p, close - p);
            p = close;
            if (body.find("<grace") != std::string::npos ||
                body.find("<chord") != std::string::npos)
                continue;
            const double d = number(p - body.size(), "<duration>") * kDivisions / divisions;
            pos = tag == "<backup" ? std::max(0.0, pos - d) : pos + d;
            furthest = std::max(furthest, pos);
        }
        if (furthest > 0) bars.push_back(std::round(furthest * 1e6) / 1e6);
    }
    return bars;
}

// The lengths of the runs of notes and rests between marks.
std::vector<double> barsOf(const std::vector<ScoreCell>& cells) {
    std::vector<double> bars(1);
    for (const ScoreCell& c : cells) {
        if (isPitched(c.onpIndex) || noteValue(c.onpIndex).kind == NoteKind::Rest) {
            bars.back() += static_cast<double>(divisionsOf(c.onpIndex));
        } else if (bars.back() > 0) {
            bars.push_back(0);
        }
    }
    if (bars.back() == 0) bars.pop_back();
    return bars;
}

// Files from outside with their own durations: every bar lasts as long as in the file, and
// the cells, chord lines and reports are those of the golden file.
TEST(MusicXml, ImportsOutsideFilesWithTheirOwnDurations) {
    // clang-format off
    const char* const samples[] = {
        "01a-Pitches-Pitches", "01b-Pitches-Intervals", "01c-Pitches-NoVoiceElement",
        "02a-Rests-Durations", "02e-Rests-NoType", "03a-Rhythm-Durations", "03b-Rhythm-Backup",
        "03c-Rhythm-DivisionChange", "03d-Rhythm-DottedDurations-Factors", "11a-TimeSignatures",
        "11b-TimeSignatures-NoTime", "12a-Clefs", "13a-KeySignatures",
        "13b-KeySignatures-ChurchModes", "21a-Chord-Basic", "21c-Chords-ThreeNotesDuration",
        "23a-Tuplets", "23d-Tuplets-Nested", "24a-GraceNotes", "33b-Spanners-Tie",
        "33i-Ties-NotEnded", "41a-MultiParts-Partorder", "42a-MultiVoice-TwoVoicesOnStaff-Lyrics",
        "43a-PianoStaff", "45a-SimpleRepeat", "45b-RepeatWithAlternatives",
        "45c-SimpleRepeat-Nested", "45d-Repeats-MultipleEndings", "45e-Repeats-Combination",
        "46a-Barlines", "46d-PickupMeasure-ImplicitMeasures", "61a-Lyrics", "71a-Chordnames",
        "72a-TransposingInstruments",
    };
    // clang-format on
    std::ostringstream golden;
    for (const char* name : samples) {
        std::ifstream in(std::string(SORVEL_MUSICXML_SAMPLES "/lily-") + name + ".xml");
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        const MusicXmlImport r = importMusicXml(text);
        ASSERT_TRUE(r.ok) << name << ": " << r.error;
        EXPECT_EQ(barsOf(r.score.musicData), barsOfFile(text)) << name;
        golden << "== " << name << "\n";
        for (const ScoreCell& c : r.score.musicData)
            golden << c.noteIndex << ',' << c.onpIndex << ' ';
        golden << "\n";
        for (const std::string& line : r.score.codeData) golden << '#' << line << "\n";
        for (const std::string& note : r.notes) golden << "! " << note << "\n";
    }
    testing::expectGolden("outside_imports.txt", golden.str());
}

// Bytes as hexadecimal, 32 to a line.
std::string hexLines(const std::string& bytes) {
    std::ostringstream out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out << "0123456789abcdef"[static_cast<unsigned char>(bytes[i]) >> 4]
            << "0123456789abcdef"[static_cast<unsigned char>(bytes[i]) & 15];
        out << (i % 32 == 31 || i + 1 == bytes.size() ? "\n" : " ");
    }
    return out.str();
}

TEST(Midi, HoldsThePlayedNotesAtExactTicks) {
    testing::DiagCapture quiet;
    // {what, cells, key: C, Bb, Eb}
    const std::tuple<const char*, std::vector<ScoreCell>, std::int64_t> cases[] = {
        {"A1 quarter, a rest, C0 eighth", {{17, 5}, {17, 17}, {4, 7}}, 0},
        // The chain sounds once, with the closing note's pitch; the rest inside it before.
        {"a tie chain with a rest inside", {{4, 55}, {17, 19}, {7, 7}, {0, 3}}, 0},
        {"triplets on whole ticks", {{4, 42}, {7, 42}, {10, 42}, {11, 5}}, 0},
        {"repeat with a first ending, in Bb",
         {{17, kRepeatStart}, {17, 5}, {17, kFirstEnding}, {20, 5}, {17, kRepeatEnd}, {21, 5}},
         1},
        {"Eb", {{17, 5}}, 2},
    };
    std::string golden;
    for (const auto& [name, cells, key] : cases) {
        Score s{cells, {}, {}};
        s.settings.key = key;
        s.settings.tempo = 1;  // 80
        s.settings.beat = 1;   // 3
        golden += std::string("== ") + name + "\n" + hexLines(writeMidi(s, "t"));
    }
    testing::expectGolden("midi.txt", golden);
}

TEST(Wav, IsThePlayListRenderedSampleExactly) {
    testing::DiagCapture quiet;
    Score s = richScore();
    s.settings.tempo = 5;  // 160
    for (const bool countIn : {false, true}) {
        WavOptions options;
        options.countIn = countIn;
        const WavResult w = writeWav(s, options);
        ASSERT_TRUE(w.ok) << w.error;
        const auto list = wavPlayList(s, options);
        ASSERT_FALSE(list.empty());
        // Three clicks of 60 / 160 seconds each before the notes.
        std::uint64_t frames = countIn ? 3 * frameCount(48000.0, 60.0f / 160.0f) : 0;
        std::vector<std::uint64_t> onsets;
        for (const PlayEntry& e : list) {
            onsets.push_back(frames);
            frames += frameCount(48000.0, e.seconds);
        }
        auto le = [&](std::size_t at, int n) {
            std::uint64_t v = 0;
            for (int i = n - 1; i >= 0; --i)
                v = (v << 8) | static_cast<unsigned char>(w.bytes.at(at + i));
            return v;
        };
        EXPECT_EQ(w.bytes.substr(0, 4), "RIFF");
        EXPECT_EQ(le(24, 4), 48000u);
        EXPECT_EQ(le(40, 4), 2 * frames);
        EXPECT_EQ(w.bytes.size(), 44 + 2 * frames);
        // Each entry starts from silence at its onset and rises inside its own length; a
        // sounding entry peaks at -6 dBFS.
        for (std::size_t k = 0; k < list.size(); ++k) {
            const std::uint64_t n = frameCount(48000.0, list[k].seconds);
            if (n < 2000) continue;
            auto sample = [&](std::uint64_t i) {
                return static_cast<std::int16_t>(le(44 + 2 * (onsets[k] + i), 2));
            };
            EXPECT_EQ(sample(0), 0) << "entry " << k;
            EXPECT_LE(std::abs(sample(1)), 1) << "entry " << k;
            int peak = 0;
            for (std::uint64_t i = 0; i < n; ++i) peak = std::max(peak, std::abs(int{sample(i)}));
            EXPECT_NEAR(peak, list[k].frequency > 0 ? 16384 : 0, 2) << "entry " << k;
        }
    }
    // A quarter at 120 lasts exactly 24000 frames, after the header of 16-bit mono PCM.
    Score one{{{17, 5}}, {}, {}};
    EXPECT_EQ(writeWav(one).bytes.size(), 44u + 2u * 24000u);
    testing::expectGolden("wav_header.txt", hexLines(writeWav(one).bytes.substr(0, 44)));
    // 2,701 whole notes at 60 beats per minute last over three hours: refused before any
    // synthesis.
    one.settings.tempo = 0;
    one.musicData.assign(2701, {17, 1});
    const WavResult tooLong = writeWav(one);
    EXPECT_FALSE(tooLong.ok);
    EXPECT_TRUE(tooLong.bytes.empty());
    EXPECT_NE(tooLong.error.find("too long"), std::string::npos);
}

TEST(ExchangeSettings, ChoicesStandForValuesAndImportsTakeTheNearestChoice) {
    // {settings, tempo, key, beats}
    const std::tuple<ScoreSettings, std::int64_t, std::string, std::int64_t> cases[] = {
        {{0, 3, 1, 1, 440}, 120, "Bb", 3},
        {{0, 0, 2, 3, 440}, 60, "Eb", 5},
        {{0, -1, -1, -1, 440}, 120, "C", 4}};
    for (const auto& [set, tempo, key, beats] : cases) {
        SCOPED_TRACE(key);
        EXPECT_EQ(set.tempoValue(), tempo);
        EXPECT_EQ(set.keyValue(), key);
        EXPECT_EQ(set.beatValue(), beats);
    }
    // A tempo or beat count the window does not offer is set to the nearest one, and said.
    const MusicXmlImport r = importMusicXml(
        score("<measure><attributes><divisions>1</divisions><time><beats>7</beats><beat-type>4"
              "</beat-type></time></attributes><sound tempo=\"93\"/>" +
              quarter("A", 4) + "</measure>"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.score.settings, (ScoreSettings{0, 2, 0, 4, 440}));  // 100, C, 6
    ASSERT_EQ(r.notes.size(), 2u);
    EXPECT_NE(r.notes[0].find("93"), std::string::npos);
}

// Our MusicXML and MIDI as a real notation program reads them: MuseScore 3 (mscore3) converts
// both to PDF, and the MusicXML, plain and compressed, it writes from ours reads back to the
// same cells and chord lines. Skipped where mscore3 is not installed.
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
Score fullBars() {
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
    const Score s = fullBars();
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
