// Exchanging scores with other programs: MusicXML (plain and compressed) out and back in, the
// importer on files from outside with their own durations, its reports and refusals, and the
// MIDI and WAV recordings of what playback plays.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/exchange_file.h"
#include "edit_test_document.h"
#include "exchange/audio_export.h"
#include "exchange/musicxml_archive.h"
#include "exchange/musicxml_export.h"
#include "exchange/musicxml_import.h"
#include "exchange/notation.h"
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
    // clang-format on
    s.codeData = {chordLine({{1, "C"},
                             {5, "G7b9"},
                             {10, "Am/E"},
                             {16, "dolce cantabile"},
                             {32, "F#m7b5"},
                             {39, "Bb13"}}),
                  chordLine({{2, "Cadd9"}, {9, "D7sus4"}, {16, "N.C."}})};
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
        const std::string xml = writeMusicXml(Score{c.cells, {}, {}}, "");
        for (const auto& piece : c.contains) EXPECT_NE(xml.find(piece), std::string::npos) << piece;
    }
    const std::string xml = writeMusicXml(richScore(), kTitle);
    // A chord stands before the note under its column, or the next one after a mark.
    const std::string overMark = writeMusicXml(Score{{{4, 5}, {17, kBar}, {7, 5}}, {" G"}, {}}, "");
    for (const std::string piece :
         {"<work-title>Études &amp; &lt;Airs&gt;</work-title>", "<beats>3</beats>",
          "<per-minute>100</per-minute>", "<sound tempo=\"100\"/>", "<chromatic>-2</chromatic>",
          "<kind text=\"\">major</kind></harmony><note><pitch><step>C</step><octave>4</octave>",
          "<root-step>A</root-step></root><kind "
          "text=\"m\">minor</kind><bass><bass-step>E</bass-step>",
          "<kind text=\"7b9\">dominant</kind><degree><degree-value>9</degree-value><degree-alter>"
          "-1</degree-alter><degree-type>add</degree-type></degree>",
          "<words>dolce cantabile</words>", "<root-step>F</root-step><root-alter>1</root-alter>"}) {
        EXPECT_NE(xml.find(piece), std::string::npos) << piece;
    }
    EXPECT_NE(overMark.find("major</kind></harmony><note><pitch><step>D</step>"),
              std::string::npos);
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
    // What the outside files below do not show.
    const std::vector<Case> cases = {
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
    for (const Case& c : cases) {
        const MusicXmlImport r = importMusicXml(c.xml);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.score.musicData, c.cells) << c.xml;
        if (c.reported.empty()) {
            EXPECT_TRUE(r.notes.empty()) << r.notes.front();
        } else {
            ASSERT_EQ(r.notes.size(), 1u) << c.xml;
            EXPECT_NE(r.notes.front().find(c.reported), std::string::npos) << r.notes.front();
        }
    }
}

TEST(MusicXml, ChordSymbolsTakeTheNamesOfThePatternTableBothWays) {
    const auto degree = [](int value, int alter, const char* type) {
        return "<degree><degree-value>" + std::to_string(value) + "</degree-value><degree-alter>" +
               std::to_string(alter) + "</degree-alter><degree-type>" + type +
               "</degree-type></degree>";
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<kind text=\"mi7\">minor-seventh</kind>", "Dm7"},
        {"<kind text=\"ma7\">major-seventh</kind>", "Dmaj7"},
        {"<kind text=\"M7\">major-seventh</kind>", "DM7"},  // our own spelling stays
        {"<kind text=\"mi7b5\">half-diminished</kind>", "Dm7b5"},
        {"<kind text=\"sus\">suspended-fourth</kind>", "Dsus4"},
        {"<kind text=\"7sus\">suspended-fourth</kind>" + degree(7, -1, "add"), "D7sus4"},
        {"<kind text=\"13\">dominant-13th</kind>", "D13"},
        {"<kind>dominant</kind>" + degree(9, -1, "add"), "D7b9"},
        {"<kind>dominant</kind>" + degree(5, 1, "alter") + degree(9, 1, "add"), "D7#5#9"},
        {"<kind>major</kind>" + degree(5, -1, "alter"), "D(b5)"},
        {"<kind>major</kind>" + degree(2, 0, "add"), "Dadd2"},
        {"<kind>minor</kind><bass><bass-step>C</bass-step></bass>", "Dm/C"},
        {"<kind>diminished-seventh</kind>" + degree(3, 0, "subtract"), "Ddim7no3"},
    };
    for (const auto& [kind, token] : cases) {
        const MusicXmlImport r =
            importMusicXml(measure("<harmony><root><root-step>D</root-step></root>" + kind +
                                   "</harmony>" + quarter("A", 4)));
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.score.codeData, std::vector<std::string>{token});
        EXPECT_EQ(importMusicXml(writeMusicXml(r.score, "")).score.codeData, r.score.codeData);
    }
}

TEST(MusicXml, ImportReadsTempoInOtherBeatUnits) {
    const auto r = importMusicXml(score(
        "<measure><direction><direction-type><metronome><beat-unit>half</beat-unit>"
        "<per-minute>60</per-minute></metronome></direction-type></direction>"
        "<direction><direction-type><words>dolce  cantabile</words></direction-type></direction>" +
        note("<step>A</step><octave>4</octave>") + "</measure>"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.score.settings.tempoValue(), 120);
    EXPECT_EQ(r.score.codeData, std::vector<std::string>{"dolce cantabile"});
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

TEST(Notation, PitchNamesShowTheScientificNameBesideOurs) {
    const std::pair<std::int64_t, const char*> names[] = {
        {0, "A0 (A3)"}, {1, "A0# (A#3)"}, {2, "B0b (Bb3)"}, {4, "C0 (C4)"},
        {17, "A1 (A4)"}, {38, "C2 (C6)"}, {39, ""}};
    for (const auto& [index, name] : names) EXPECT_EQ(pitchNameWithScientific(index), name);
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

// The cells between marks, and their lengths.
std::vector<std::vector<ScoreCell>> barsOf(const std::vector<ScoreCell>& cells) {
    std::vector<std::vector<ScoreCell>> bars(1);
    for (const ScoreCell& c : cells) {
        if (isPitched(c.onpIndex) || noteValue(c.onpIndex).kind == NoteKind::Rest) {
            bars.back().push_back(c);
        } else if (!bars.back().empty()) {
            bars.emplace_back();
        }
    }
    if (bars.back().empty()) bars.pop_back();
    return bars;
}

TEST(MusicXml, ImportsOutsideFilesWithTheirOwnDurations) {
    struct Sample {
        const char* name;
        std::int64_t pitched;  // cells holding a note
        std::vector<std::string> notes;
        std::size_t bar = 0;  // a bar (from 1) whose cells are checked, 0 for none
        std::vector<ScoreCell> cells = {};
        std::string chords = "";  // the first chord line
    };
    // clang-format off
    const std::vector<Sample> samples = {
        {"01a-Pitches-Pitches", 108, {
          "Pitches outside A0 (A3) to C2 (C6) were moved by octaves into the range: 47.",
          "Pitches with a spelling we do not have were respelled: 12."}},
        {"01b-Pitches-Intervals", 82, {
          "Pitches with a spelling we do not have were respelled: 10.",
          "Pitches outside A0 (A3) to C2 (C6) were moved by octaves into the range: 32."}},
        {"01c-Pitches-NoVoiceElement", 1, {"Lyrics were dropped: 1."}},
        {"02a-Rests-Durations", 0, {
          "Notes and rests too short for any cell were dropped (bars 4, 5): 9.",
          "Durations no cell can hold were rounded (bars 4, 5): 4.",
          "Time signature changes were dropped (the bar lines stay): 1."}, 4, {{17, 15}, {17, 17},
          {17, 19}, {17, 21}, {17, 23}, {17, 23}}},
        {"02e-Rests-NoType", 2, {"Notes of other voices were dropped: 2."}},
        {"03a-Rhythm-Durations", 87, {
          "Notes and rests were written as other cells of the same length (bars 1, 2, 3, 4, 5, 6)"
          ": 14.",
          "Notes and rests too short for any cell were dropped (bars 2, 4, 6): 13.",
          "Durations no cell can hold were rounded (bars 2, 4, 6): 7.",
          "Time signature changes were dropped (the bar lines stay): 2.",
          "32 beats to the bar were set to 6, the nearest a score offers."}, 1, {{21, 53},
          {21, 53}, {21, 53}, {21, 53}, {21, 53}, {21, 53}, {21, 53}, {21, 1}}},
        {"03b-Rhythm-Backup", 2, {"Notes of other voices were dropped: 2.",
          "Rests were added where the first voice is silent (bar 1): 1."}, 1, {{4, 5}, {4, 5},
          {17, 17}}},
        {"03c-Rhythm-DivisionChange", 6, {}},
        {"03d-Rhythm-DottedDurations-Factors", 12, {
          "A time signature not counted in quarter notes was rounded: 1.",
          "Time signature changes were dropped (the bar lines stay): 6.",
          "Notes and rests were written as other cells of the same length (bar 11): 1.",
          "1 beat to the bar was set to 2, the nearest a score offers."}, 11, {{21, 54}, {21, 6}}},
        {"11a-TimeSignatures", 12, {"Time signature changes were dropped (the bar lines stay): 7."
          }, 8, {{21, 53}, {21, 5}}},
        {"11b-TimeSignatures-NoTime", 3, {"Notes of other voices were dropped: 3."}},
        {"12a-Clefs", 17, {
          "Clefs other than the treble clef were not kept (the notes keep their pitches): 15."}},
        {"13a-KeySignatures", 46, {
          "Key signatures were not kept (the notes keep their pitches): 44."}},
        {"13b-KeySignatures-ChurchModes", 10, {
          "Key signatures were not kept (the notes keep their pitches): 10.",
          "Lyrics were dropped: 10."}},
        {"21a-Chord-Basic", 1, {"Chord notes beyond the first note of a chord were dropped: 1."}},
        {"21c-Chords-ThreeNotesDuration", 7, {
          "Chord notes beyond the first note of a chord were dropped: 14."}},
        {"23a-Tuplets", 30, {
          "Notes and rests were written as other cells of the same length (bar 1): 14.",
          "Durations no cell can hold were rounded (bar 1): 7.",
          "14 beats to the bar were set to 6, the nearest a score offers."}},
        {"23d-Tuplets-Nested", 26, {"Durations no cell can hold were rounded (bars 1, 2, 3): 18.",
          "Pitches outside A0 (A3) to C2 (C6) were moved by octaves into the range: 3."}, 1, {{20, 42},
          {20, 42}, {20, 11}, {20, 11}, {20, 43}, {20, 11}, {20, 11}, {20, 42}, {20, 42}}},
        {"24a-GraceNotes", 11, {"Grace notes were dropped: 14.",
          "Slurs, articulations and other note markings were dropped: 3.",
          "Chord notes beyond the first note of a chord were dropped: 1."}},
        {"33b-Spanners-Tie", 2, {}},
        {"33i-Ties-NotEnded", 5, {"Lyrics were dropped: 5."}},
        {"41a-MultiParts-Partorder", 1, {"Parts after the first were dropped: 3.",
          "Key signatures were not kept (the notes keep their pitches): 1."}},
        {"42a-MultiVoice-TwoVoicesOnStaff-Lyrics", 6, {
          "Slurs, articulations and other note markings were dropped: 4.",
          "Lyrics were dropped: 6.", "Dynamics and other directions were dropped: 1.",
          "Notes of other voices were dropped: 7."}},
        {"43a-PianoStaff", 1, {"Notes of other voices were dropped: 1."}},
        {"45a-SimpleRepeat", 0, {
          "Repeats are played twice, whatever number of times they ask for: 1."}},
        {"45b-RepeatWithAlternatives", 4, {
          "Endings other than the first were dropped (their notes are kept): 1."}},
        {"45c-SimpleRepeat-Nested", 0, {
          "Repeats are played twice, whatever number of times they ask for: 2."}},
        {"45d-Repeats-MultipleEndings", 0, {
          "Endings other than the first were dropped (their notes are kept): 4."}},
        {"45e-Repeats-Combination", 0, {
          "Endings other than the first were dropped (their notes are kept): 3."}},
        {"46a-Barlines", 0, {"Bar line styles were drawn as plain bar lines: 10."}},
        {"46d-PickupMeasure-ImplicitMeasures", 8, {
          "Bar line styles were drawn as plain bar lines: 1."}, 1, {{10, 5}, {10, 7}}},
        {"61a-Lyrics", 11, {"Lyrics were dropped: 7."}},
        {"71a-Chordnames", 8, {
          "Chord symbols and texts that found their column taken were moved right: 7."}, 0, {},
          "C Cmaj7#11 B7#5#9 Ebadd2 Gm D#maj7 Adim7 Aaug"},
        {"72a-TransposingInstruments", 8, {"Parts after the first were dropped: 2.",
          "Key signatures were not kept (the notes keep their pitches): 1."}},
    };
    // clang-format on
    for (const Sample& s : samples) {
        std::ifstream in(std::string(SORVEL_MUSICXML_SAMPLES "/lily-") + s.name + ".xml");
        std::stringstream text;
        text << in.rdbuf();
        const MusicXmlImport r = importMusicXml(text.str());
        ASSERT_TRUE(r.ok) << s.name << ": " << r.error;
        const auto bars = barsOf(r.score.musicData);
        std::vector<double> lengths;
        for (const auto& bar : bars) {
            double length = 0;
            for (const ScoreCell& c : bar) length += static_cast<double>(divisionsOf(c.onpIndex));
            lengths.push_back(length);
        }
        EXPECT_EQ(lengths, barsOfFile(text.str())) << s.name;
        EXPECT_EQ(std::count_if(r.score.musicData.begin(), r.score.musicData.end(),
                                [](const ScoreCell& c) { return isPitched(c.onpIndex); }),
                  s.pitched)
            << s.name;
        if (s.bar > 0) {
            ASSERT_LE(s.bar, bars.size()) << s.name;
            EXPECT_EQ(bars[s.bar - 1], s.cells) << s.name;
        }
        EXPECT_EQ(r.notes, s.notes) << s.name;
        EXPECT_EQ(r.score.codeData.empty() ? "" : r.score.codeData.front(), s.chords) << s.name;
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
    testing::DiagCapture quiet;
    struct Case {
        std::vector<ScoreCell> cells;
        std::int64_t key;                 // C, Bb, Eb
        std::vector<TimedNote> expected;  // (start, length, key) of the sounding notes
    };
    const std::vector<Case> cases = {
        // A1 quarter, a rest, C0 eighth: 440 Hz is key 69, middle C is 60.
        {{{17, 5}, {17, 17}, {4, 7}}, 0, {{0, 480, 69}, {960, 240, 60}}},
        // A tie chain sounds once, with the closing note's pitch and the chain's length; a rest
        // inside the chain is played where playback plays it, before the joined note.
        {{{4, 55}, {17, 19}, {7, 7}, {0, 3}}, 0, {{240, 480 + 240, 62}, {960, 960, 57}}},
        // Triplets land on whole ticks and keep their sum.
        {{{4, 42}, {7, 42}, {10, 42}, {11, 5}},
         0,
         {{0, 160, 60}, {160, 160, 62}, {320, 160, 64}, {480, 480, 65}}},
        // Repeat with a first ending: A B A C, in the Bb key a whole tone lower.
        {{{17, kRepeatStart}, {17, 5}, {17, kFirstEnding}, {20, 5}, {17, kRepeatEnd}, {21, 5}},
         1,
         {{0, 480, 67}, {480, 480, 69}, {960, 480, 67}, {1440, 480, 70}}},
        {{{17, 5}}, 2, {{0, 480, 72}}},
    };
    for (const Case& c : cases) {
        Score s{c.cells, {}, {}};
        s.settings.key = c.key;
        s.settings.tempo = 1;  // 80
        s.settings.beat = 1;   // 3
        const ReadMidi m = parseMidi(writeMidi(s, "t"));
        EXPECT_EQ(m.division, kMidiTicksPerQuarter);
        EXPECT_EQ(m.microsPerQuarter, 750000);
        EXPECT_EQ(m.beats, 3);
        EXPECT_EQ(m.notes, c.expected);
    }
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
        std::uint64_t frames = 0;
        std::vector<std::uint64_t> onsets;
        const float beat = 60.0f / 160.0f;
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
    Score one{{{17, 5}}, {}, {}};
    EXPECT_EQ(writeWav(one).bytes.size(), 44u + 2u * 24000u);
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
    const struct {
        ScoreSettings set;
        std::int64_t tempo;
        std::string key;
        std::int64_t beats;
    } cases[] = {{{0, 3, 1, 1, 440}, 120, "Bb", 3},
                 {{0, 0, 2, 3, 440}, 60, "Eb", 5},
                 {{0, -1, -1, -1, 440}, 120, "C", 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.set.tempoValue(), c.tempo);
        EXPECT_EQ(c.set.keyValue(), c.key);
        EXPECT_EQ(c.set.beatValue(), c.beats);
    }
    // A tempo or beat count the window does not offer is set to the nearest one, and said.
    const MusicXmlImport r = importMusicXml(
        score("<measure><attributes><divisions>1</divisions><time><beats>7</beats><beat-type>4"
              "</beat-type></time></attributes><sound tempo=\"93\"/>" +
              note("<step>A</step><octave>4</octave>") + "</measure>"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.score.settings, (ScoreSettings{0, 2, 0, 4, 440}));  // 100, C, 6
    ASSERT_EQ(r.notes.size(), 2u);
    EXPECT_NE(r.notes[0].find("93"), std::string::npos);
}

}  // namespace
}  // namespace sorvel::exchange
