// Exchanging scores with other programs: MusicXML out and back in, the importer's reports and
// refusals, and the MIDI and WAV recordings of what playback plays.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/exchange_file.h"
#include "exchange/audio_export.h"
#include "exchange/musicxml_export.h"
#include "exchange/musicxml_import.h"
#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "sound/tone.h"

namespace sorvel::exchange {
namespace {

constexpr std::int64_t kBar = 25, kRepeatStart = 26, kRepeatEnd = 27, kFirstEnding = 28;

class QuietDiagnostics {
  public:
    QuietDiagnostics() {
        setDiagnosticSink([](std::string_view) {});
    }
    ~QuietDiagnostics() { setDiagnosticSink({}); }
};

// Two staff lines with every kind of cell: accidentals of both kinds, dots, both forms,
// triplet groups (one of alternate rests), ties (also across a rest), rests at a height,
// repeats with a first ending, a bar beside a repeat start, and chord lines of chord
// symbols and plain words.
ScoreData richScore() {
    ScoreData s;
    // clang-format off
    s.cells = {
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
    // clang-format on
    s.chordLines = {"C G7 Am/E xyz", "Bbmaj7 F#m7b5 N.C. Ebm"};
    s.tempo = 96;
    s.key = "Bb";
    s.beats = 3;
    s.referenceHz = 442;
    s.title = "Études & <Airs>";
    return s;
}

TEST(MusicXml, RoundTripKeepsEveryCellChordAndSetting) {
    for (const std::string key : {"Bb", "Eb", "C"}) {
        ScoreData s = richScore();
        s.key = key;
        const MusicXmlImport back = importMusicXml(writeMusicXml(s));
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_TRUE(back.notes.empty()) << back.notes.front();
        EXPECT_EQ(back.score.cells, s.cells);
        EXPECT_EQ(back.score, s) << back.score.title << " " << back.score.tempo << " "
                                 << back.score.key;
    }
}

TEST(MusicXml, WritesNotationAsOtherProgramsRead) {
    struct Case {
        std::vector<ScoreCell> cells;
        std::vector<std::string> contains;
    };
    const std::vector<Case> cases = {
        {{{4, 5}}, {"<step>C</step><octave>4</octave>", "<type>quarter</type><stem>up</stem>"}},
        {{{5, 5}, {6, 5}}, {"<accidental>sharp</accidental>", "<accidental>flat</accidental>"}},
        {{{17, 33}}, {"<step>A</step><octave>4</octave>", "<stem>down</stem>"}},
        {{{1, 2}}, {"<step>A</step><alter>1</alter><octave>3</octave>", "<dot/>"}},
        {{{36, 12}},
         {"<step>B</step><alter>-1</alter><octave>5</octave>", "<type>32nd</type><dot/>"}},
        {{{38, 13}}, {"<rest><display-step>C</display-step><display-octave>6</display-octave>"}},
        {{{4, 41}, {4, 41}, {4, 41}},
         {"<actual-notes>3</actual-notes><normal-notes>2</normal-notes>",
          "<tuplet type=\"start\" bracket=\"yes\" placement=\"above\"/>",
          "<tuplet type=\"stop\"/>"}},
        {{{4, 55}, {4, 5}},
         {"<tie type=\"start\"/>", "<tie type=\"stop\"/>", "<tied type=\"stop\"/>"}},
        {{{4, 5}, {17, kRepeatEnd}, {4, 5}},
         {"<bar-style>light-heavy</bar-style><repeat direction=\"backward\"/>",
          "<measure number=\"2\""}},
        {{{17, kRepeatStart}, {4, 5}, {17, kFirstEnding}, {4, 5}, {17, kRepeatEnd}},
         {"<repeat direction=\"forward\"/>", "<ending number=\"1\" type=\"start\">1.</ending>",
          "<ending number=\"1\" type=\"stop\"/><repeat direction=\"backward\"/>"}},
    };
    for (const Case& c : cases) {
        ScoreData s;
        s.cells = c.cells;
        const std::string xml = writeMusicXml(s);
        for (const auto& piece : c.contains) EXPECT_NE(xml.find(piece), std::string::npos) << piece;
    }
    ScoreData s = richScore();
    const std::string xml = writeMusicXml(s);
    for (const std::string piece :
         {"<work-title>Études &amp; &lt;Airs&gt;</work-title>", "<beats>3</beats>",
          "<per-minute>96</per-minute>", "<sound tempo=\"96\"/>", "<chromatic>-2</chromatic>",
          "<root-step>A</root-step></root><kind "
          "text=\"m\">minor</kind><bass><bass-step>E</bass-step>",
          "<words>xyz</words>", "<root-step>F</root-step><root-alter>1</root-alter>"}) {
        EXPECT_NE(xml.find(piece), std::string::npos) << piece;
    }
}

std::string score(const std::string& measures, const std::string& parts = "") {
    return "<?xml version=\"1.0\"?><score-partwise version=\"4.0\"><part-list/>"
           "<part id=\"P1\">" +
           measures + "</part>" + parts + "</score-partwise>";
}
std::string note(const std::string& pitch, const std::string& rest = "") {
    return "<note><pitch>" + pitch +
           "</pitch><duration>1</duration><voice>1</voice>"
           "<type>quarter</type>" +
           rest + "</note>";
}

// A first part of one measure with one division a quarter, holding body.
std::string measure(const std::string& body, const std::string& parts = "") {
    return score("<measure><attributes><divisions>1</divisions></attributes>" + body + "</measure>",
                 parts);
}
std::string quarter(const char* step, int octave, const std::string& rest = "",
                    const std::string& before = "", int voice = 1) {
    return "<note>" + before + "<pitch><step>" + step + "</step><octave>" + std::to_string(octave) +
           "</octave></pitch><duration>1</duration><voice>" + std::to_string(voice) +
           "</voice><type>quarter</type>" + rest + "</note>";
}

TEST(MusicXml, ImportReportsWhatItCannotCarry) {
    const std::string A4 = quarter("A", 4);
    struct Case {
        std::string xml;
        std::vector<ScoreCell> cells;
        std::string reported;  // a part of one of the notes, "" for none
    };
    const std::vector<Case> cases = {
        {measure(A4 + quarter("C", 5, "", "<chord/>")), {{17, 5}}, "Chord notes"},
        {measure(quarter("C", 4) + "<backup><duration>1</duration></backup>" +
                 quarter("E", 4, "", "", 2)),
         {{4, 5}},
         "other voices"},
        {measure("<note><grace/><pitch><step>D</step><octave>4</octave></pitch><voice>1</voice>"
                 "<type>eighth</type></note>" +
                 quarter("D", 4)),
         {{7, 5}},
         "Grace notes"},
        {measure(quarter("C", 7) + quarter("G", 2)), {{38, 5}, {14, 5}}, "moved by octaves"},
        {measure(note("<step>E</step><alter>1</alter><octave>4</octave>")), {{11, 5}}, "respelled"},
        {score("<measure><attributes><divisions>16</divisions></attributes><note><pitch><step>A"
               "</step><octave>4</octave></pitch><duration>1</duration><type>64th</type></note>"
               "</measure>"),
         {{17, 11}},
         "nearest value"},
        {score("<measure><attributes><divisions>2</divisions></attributes><note><rest/>"
               "<duration>3</duration></note><note><pitch><step>B</step><alter>-1</alter>"
               "<octave>3</octave></pitch><duration>1</duration></note></measure>"),
         {{17, 18}, {2, 7}},
         ""},
        {measure(A4, "<part id=\"P2\"><measure>" + quarter("C", 4) + "</measure></part>"),
         {{17, 5}},
         "Parts after the first"},
        {measure(quarter("A", 4, "<notations><slur type=\"start\"/></notations>")),
         {{17, 5}},
         "Slurs"},
        {measure(quarter("A", 4, "<lyric><text>la</text></lyric>")), {{17, 5}}, "Lyrics"},
        {measure("<direction><direction-type><dynamics><p/></dynamics></direction-type>"
                 "</direction>" +
                 A4),
         {{17, 5}},
         "Dynamics"},
        {score("<measure><attributes><divisions>4</divisions></attributes><note><pitch><step>A"
               "</step><octave>4</octave></pitch><duration>7</duration><type>quarter</type><dot/>"
               "<dot/></note></measure>"),
         {{17, 3}},
         "nearest value"},
        {measure(A4 + "</measure><measure>" + quarter("B", 4) +
                 "<barline><bar-style>light-heavy</bar-style></barline>"),
         {{17, 5}, {17, kBar}, {20, 5}, {17, kBar}},
         ""},
    };
    for (const Case& c : cases) {
        const MusicXmlImport r = importMusicXml(c.xml);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.score.cells, c.cells) << c.xml;
        if (c.reported.empty()) {
            EXPECT_TRUE(r.notes.empty()) << r.notes.front();
        } else {
            ASSERT_EQ(r.notes.size(), 1u) << c.xml;
            EXPECT_NE(r.notes.front().find(c.reported), std::string::npos) << r.notes.front();
        }
    }
}

TEST(MusicXml, ImportReadsTempoInOtherBeatUnits) {
    const auto r = importMusicXml(score(
        "<measure><direction><direction-type><metronome><beat-unit>half</beat-unit>"
        "<per-minute>60</per-minute></metronome></direction-type></direction>"
        "<direction><direction-type><words>dolce  cantabile</words></direction-type></direction>" +
        note("<step>A</step><octave>4</octave>") + "</measure>"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.score.tempo, 120);
    EXPECT_EQ(r.score.chordLines, std::vector<std::string>{"dolce cantabile"});
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
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "not well-formed"},
        {"just text", "not well-formed"},
        {"<score-partwise><part>", "not well-formed"},
        {"<html><body/></html>", "not a MusicXML score"},
        {"<score-timewise/>", "Time-wise"},
        {"<score-partwise version=\"4.0\"/>", "no part"},
        {std::string("PK\x03\x04rest", 8), "Compressed"},
        {"<score-partwise>" + deep, "nested too deeply"},
        {laughs, "entities"},
        {external, "entities"},
        {std::string(kMaxMusicXmlBytes + 1, ' '), "too large"},
    };
    for (const auto& [text, why] : cases) {
        const MusicXmlImport r = importMusicXml(text);
        EXPECT_FALSE(r.ok) << why;
        EXPECT_TRUE(r.score.cells.empty());
        EXPECT_NE(r.error.find(why), std::string::npos) << r.error;
    }
}

// A format 0 file read back: tempo, time signature and the notes as (on tick, off tick, key).
struct ReadMidi {
    std::int64_t division = 0, microsPerQuarter = 0, beats = 0;
    std::vector<TimedNote> notes;
};

ReadMidi parseMidi(const std::string& b) {
    ReadMidi m;
    auto big = [&](std::size_t at, int n) {
        std::int64_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | static_cast<unsigned char>(b.at(at + i));
        return v;
    };
    EXPECT_EQ(b.substr(0, 4), "MThd");
    EXPECT_EQ(big(8, 2), 0);
    EXPECT_EQ(big(10, 2), 1);
    m.division = big(12, 2);
    EXPECT_EQ(b.substr(14, 4), "MTrk");
    const std::size_t end = 22 + static_cast<std::size_t>(big(18, 4));
    EXPECT_EQ(end, b.size());
    std::size_t p = 22;
    std::int64_t tick = 0;
    std::vector<std::pair<std::int64_t, std::int64_t>> open;  // key, on tick
    bool ended = false;
    while (p < end && !ended) {
        std::int64_t delta = 0;
        unsigned char c;
        do {
            c = static_cast<unsigned char>(b.at(p++));
            delta = (delta << 7) | (c & 0x7f);
        } while (c & 0x80);
        tick += delta;
        const auto status = static_cast<unsigned char>(b.at(p++));
        if (status == 0xff) {
            const auto type = static_cast<unsigned char>(b.at(p++));
            const auto len = static_cast<std::size_t>(static_cast<unsigned char>(b.at(p++)));
            if (type == 0x51) m.microsPerQuarter = big(p, 3);
            if (type == 0x58) m.beats = static_cast<unsigned char>(b.at(p));
            if (type == 0x2f) ended = true;
            p += len;
        } else if (status == 0x90) {
            open.push_back({static_cast<unsigned char>(b.at(p)), tick});
            p += 2;
        } else if (status == 0x80) {
            const std::int64_t key = static_cast<unsigned char>(b.at(p));
            p += 2;
            EXPECT_FALSE(open.empty());
            EXPECT_EQ(open.front().first, key);
            m.notes.push_back({open.front().second, tick - open.front().second, key});
            open.erase(open.begin());
        } else {
            ADD_FAILURE() << "unexpected status " << int(status);
            break;
        }
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(p, end);
    EXPECT_TRUE(open.empty());
    return m;
}

TEST(Midi, HoldsThePlayedNotesAtExactTicks) {
    QuietDiagnostics quiet;
    struct Case {
        std::vector<ScoreCell> cells;
        std::string key;
        std::vector<TimedNote> expected;  // (start, length, key) of the sounding notes
    };
    const std::vector<Case> cases = {
        // A1 quarter, a rest, C0 eighth: 440 Hz is key 69, middle C is 60.
        {{{17, 5}, {17, 17}, {4, 7}}, "C", {{0, 480, 69}, {960, 240, 60}}},
        // A tie chain sounds once, with the closing note's pitch and the chain's length; a rest
        // inside the chain is played where playback plays it, before the joined note.
        {{{4, 55}, {17, 19}, {7, 7}, {0, 3}}, "C", {{240, 480 + 240, 62}, {960, 960, 57}}},
        // Triplets land on whole ticks and keep their sum.
        {{{4, 42}, {7, 42}, {10, 42}, {11, 5}},
         "C",
         {{0, 160, 60}, {160, 160, 62}, {320, 160, 64}, {480, 480, 65}}},
        // Repeat with a first ending: A B A C, in the Bb key a whole tone lower.
        {{{17, kRepeatStart}, {17, 5}, {17, kFirstEnding}, {20, 5}, {17, kRepeatEnd}, {21, 5}},
         "Bb",
         {{0, 480, 67}, {480, 480, 69}, {960, 480, 67}, {1440, 480, 70}}},
        {{{17, 5}}, "Eb", {{0, 480, 72}}},
    };
    for (const Case& c : cases) {
        ScoreData s;
        s.cells = c.cells;
        s.key = c.key;
        s.tempo = 90;
        s.beats = 3;
        const ReadMidi m = parseMidi(writeMidi(s));
        EXPECT_EQ(m.division, kMidiTicksPerQuarter);
        EXPECT_EQ(m.microsPerQuarter, 666666);
        EXPECT_EQ(m.beats, 3);
        EXPECT_EQ(m.notes, c.expected);
    }
}

TEST(Wav, IsThePlayListRenderedSampleExactly) {
    QuietDiagnostics quiet;
    ScoreData s = richScore();
    s.tempo = 150;
    for (const bool countIn : {false, true}) {
        WavOptions options;
        options.countIn = countIn;
        const WavResult w = writeWav(s, options);
        ASSERT_TRUE(w.ok) << w.error;
        const auto list = wavPlayList(s, options);
        ASSERT_FALSE(list.empty());
        std::uint64_t frames = 0;
        std::vector<std::uint64_t> onsets;
        const float beat = 60.0f / 150.0f;
        if (countIn) frames += 3 * frameCount(48000.0, beat);
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
    // A quarter at 120 lasts exactly 24000 frames.
    ScoreData one;
    one.cells = {{17, 5}};
    EXPECT_EQ(writeWav(one).bytes.size(), 44u + 2u * 24000u);
    one.tempo = 0;
    EXPECT_FALSE(writeWav(one).ok);
    // Fifty whole notes at 1 beat per minute last 200 minutes: refused before any synthesis.
    one.tempo = 1;
    one.cells.assign(50, {17, 1});
    const WavResult tooLong = writeWav(one);
    EXPECT_FALSE(tooLong.ok);
    EXPECT_TRUE(tooLong.bytes.empty());
    EXPECT_NE(tooLong.error.find("too long"), std::string::npos);
}

TEST(ScoreFileData, SettingsMapBetweenComboIndicesAndValues) {
    struct Case {
        std::int64_t tempoIndex, keyIndex, beatIndex;
        std::int64_t tempo;
        std::string key;
        std::int64_t beats;
    };
    for (const Case& c : std::vector<Case>{
             {3, 1, 1, 120, "Bb", 3}, {0, 2, 3, 60, "Eb", 5}, {-1, -1, -1, 120, "C", 4}}) {
        ScoreFile f;
        f.tempo = c.tempoIndex;
        f.key = c.keyIndex;
        f.beat = c.beatIndex;
        f.aHz = 438;
        f.musicData = {{17, 5}};
        const ScoreData d = fromScoreFile(f, "t.txt");
        EXPECT_EQ(d.tempo, c.tempo);
        EXPECT_EQ(d.key, c.key);
        EXPECT_EQ(d.beats, c.beats);
        std::vector<std::string> notes;
        const ScoreFile back = toScoreFile(d, notes);
        EXPECT_TRUE(notes.empty());
        EXPECT_EQ(back.tempo, c.tempoIndex < 0 ? 3 : c.tempoIndex);
        EXPECT_EQ(back.key, c.keyIndex < 0 ? 0 : c.keyIndex);
        EXPECT_EQ(back.beat, c.beatIndex < 0 ? 0 : c.beatIndex);
        EXPECT_EQ(back.aHz, 438);
        EXPECT_EQ(back.musicData, f.musicData);
    }
    // A tempo or beat count the window does not offer is set to the nearest one, and said.
    ScoreData d;
    d.tempo = 93;
    d.beats = 7;
    std::vector<std::string> notes;
    const ScoreFile f = toScoreFile(d, notes);
    EXPECT_EQ(f.tempo, 2);  // 100
    EXPECT_EQ(f.beat, 4);   // 6
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NE(notes[0].find("93"), std::string::npos);
}

}  // namespace
}  // namespace sorvel::exchange
