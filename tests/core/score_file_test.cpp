// Score files: the writer, the reader and what it rejects, applying a file to a document,
// reading from disk and the texts the open routine takes.
#include "model/score_file.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "given.h"

namespace sorvel {
namespace {

using ScoreCells = std::vector<ScoreCell>;

using namespace sorvel::testing;

const char* const kExample =
    "<,sorvel2,0,3,440,0,0\n"
    "#C\n"
    "#\n"
    "#\n"
    "17,5\n"
    "20,3\n";

Score parsed(const std::string& text) {
    const ScoreParseResult r = parseScore(text);
    EXPECT_EQ(r.rejection, ScoreRejection::None) << text << " -> " << r.error;
    return r.score.value_or(Score{});
}

// What a save writes, and the same bytes again after the file is opened in a new window.
TEST(ScoreFile, WrittenAsTheWindowShowsItAndReadBackByteForByte) {
    const std::string lines = "<,sorvel2,-1,3,440,0,0\n#", blank = "\n#\n#\n17,5\n";
    const GivenScore one = givenScore().cells({{17, 5}});
    const struct {
        const char* name;
        GivenScore given;
        std::array<std::string, 3> typed;  // into the chord fields, not stored ("-": none)
        std::string bytes;
    } cases[] = {
        {"example",
         givenScore().imageSets({"animals"}).cells({{17, 5}, {20, 3}}),
         {"C", "", ""},
         kExample},
        // No image set, three blank chord fields, one blank cell.
        {"new", givenScore(), {"-"}, "<,sorvel2,-1,3,440,0,0\n#       \n#       \n#       \n0,0\n"},
        {"settings, every chord line and no cell",
         givenScore().referencePitch("442").beats(2).key("Bb").cells({}).chordLines(
             {"a", "b", "c", "d", "e"}),
         {"-"},
         "<,sorvel2,-1,3,442,1,2\n#a\n#b\n#c\n#d\n#e\n"},
        // Line breaks in chord text become blanks; other text stays as it is.
        {"LF", one, {"C\n17,5", "Dm", ""}, lines + "C 17,5\n#Dm\n#\n17,5\n"},
        {"CRLF", one, {"C\r\nG", "", ""}, lines + "C G" + blank},
        {"CR", one, {"C\rG\r", "", ""}, lines + "C G " + blank},
        {"VT FF", one, {"C\vG\fAm", "", ""}, lines + "C G Am" + blank},
        {"NEL", one, {"C\xC2\x85G", "", ""}, lines + "C G" + blank},
        {"LS PS", one, {"C\xE2\x80\xA8G\xE2\x80\xA9", "", ""}, lines + "C G " + blank},
        {"other text",
         one,
         {"C\xE2\x80\xA6G \xC2\xA0", "", ""},
         lines + "C\xE2\x80\xA6G \xC2\xA0" + blank},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = c.given.build();
        if (c.typed[0] != "-") typeChordFields(*doc, c.typed);
        EXPECT_EQ(saveText(*doc), c.bytes);
        const Score file = parsed(c.bytes);
        EXPECT_EQ(file.musicData, cells(*doc));
        if (c.typed[0] != "-") {
            EXPECT_EQ(chordLines(*doc)[0], c.typed[0]);  // stored first
        }
        auto other = c.given.build();
        other->open(file);
        EXPECT_EQ(saveText(*other), c.bytes);
    }
    // A reference pitch typed but not applied is saved as an integer, so the file opens again.
    const std::pair<const char*, const char*> pitches[] = {
        {"442.7", "442"}, {"", "0"}, {" 415", "415"}, {"abc", "0"}, {"-3", "-3"}};
    auto doc = makeDocument();
    for (const auto& [typed, written] : pitches) {
        typeReferencePitch(*doc, typed);
        const std::string text = saveText(*doc);
        EXPECT_EQ(text.substr(0, text.find('\n')),
                  std::string("<,sorvel2,-1,3,") + written + ",0,0");
        EXPECT_EQ(std::to_string(parsed(text).settings.referencePitch), written);
    }
}

TEST(ScoreFile, HeaderForms) {
    // {header, the image set, tempo, reference pitch, key and beat read}
    const std::pair<const char*, std::vector<std::int64_t>> cases[] = {
        {"<,sorvel2,0,3,440,0,0", {0, 3, 440, 0, 0}},
        {"<,sorvel2,1,2", {1, 2, 440, 0, 0}},            // older form
        {"<,sorvel2,1,2,450,2", {1, 2, 440, 0, 0}},      // six fields: older form
        {"<,sorvel2,1,2,450,2,3,4", {1, 2, 440, 0, 0}},  // eight fields: older form
        {"<,sorvel2,1,2,", {1, 2, 440, 0, 0}},           // trailing comma makes five
        {"<,sorvel2,1,2,abc", {1, 2, 440, 0, 0}},        // field 5 unused in the older form
        {"<,whatever,4,5,415,1,2", {4, 5, 415, 1, 2}},   // field 2 is ignored
        {"<,sorvel2,-1,+3,-440,0,-0", {-1, 3, -440, 0, 0}},
        {"<abc,sorvel2,1,2", {1, 2, 440, 0, 0}},  // only the first character counts
        {"\xEF\xBB\xBF<,sorvel2,1,2,441,1,1", {1, 2, 441, 1, 1}},  // byte-order mark
        // A reference pitch saved as typed: its leading integer, else 440.
        {"<,sorvel2,0,3,442.5,1,2", {0, 3, 442, 1, 2}},
        {"<,sorvel2,0,3,x,1,2", {0, 3, 440, 1, 2}},
        {"<,sorvel2,0,3,,1,2", {0, 3, 440, 1, 2}},
        {"<,sorvel2,0,3,415Hz,1,2", {0, 3, 415, 1, 2}},
    };
    for (const auto& [header, fields] : cases) {
        const Score f = parsed(std::string(header) + "\n");
        const ScoreSettings& s = f.settings;
        EXPECT_EQ((std::vector{s.imageSet, s.tempo, s.referencePitch, s.key, s.beat}), fields)
            << header;
        EXPECT_TRUE(f.musicData.empty()) << header;
    }
}

// Odd but readable: chord lines between cell lines, blank lines, extra fields.
TEST(ScoreFile, InterleavedLinesKeepTheirOwnOrder) {
    const Score f = parsed("<,sorvel2,0,3\n1,1\n#one\n\n2,2,99\n#two, with comma\n3,3,x,y\n");
    EXPECT_EQ(f.musicData, (std::vector<ScoreCell>{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(f.codeData, (std::vector<std::string>{"one", "two, with comma"}));
}

TEST(ScoreFile, EveryNewlineCharacterEndsALine) {
    const std::vector<std::string> separators = {
        "\n", "\r\n", "\r", "\v", "\f", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9", "\n\n\r"};
    for (const std::string& sep : separators) {
        std::string text;
        for (const char* line : {"<,sorvel2,1,2,441,1,1", "#Dm", "#", "#G7", "4,5", "38,64"}) {
            text += line + sep;
        }
        const Score f = parsed(text);
        EXPECT_EQ(f.settings.referencePitch, 441);
        EXPECT_EQ(f.codeData, (std::vector<std::string>{"Dm", "", "G7"}));
        EXPECT_EQ(f.musicData, (std::vector<ScoreCell>{{4, 5}, {38, 64}}));
    }
    EXPECT_EQ(parsed("<,sorvel2,0,0\n1,1").musicData, (std::vector<ScoreCell>{{1, 1}}));
}

TEST(ScoreFile, MalformedFilesAreRejectedWhole) {
    const std::string h = "<,sorvel2,0,3,440,0,0\n";
    // clang-format off
    const std::string texts[] = {
        "", "\n<,sorvel2,0,3\n", "x<,sorvel2,0,3\n", " <,sorvel2,0,3\n",
        "\xEF\xBB\xBF\xEF\xBB\xBF<,sorvel2,0,3\n",  // one byte-order mark is skipped, not two
        "<,sorvel2,0\n", "<\n", "<,sorvel2,a,3\n", "<,sorvel2,0,\n", "<,sorvel2,0, 3\n",
        "<,sorvel2,0x1,3\n",
        "<,sorvel2,0,3,440,C,0\n", "<,sorvel2,0,3,440,0,\n", "<,sorvel2,99999999999999999999,3\n",
        h + "17\n", h + "17;5\n", h + "17,\n", h + ",5\n", h + "17,5x\n", h + " 17,5\n",
        h + "17, 5\n", h + "+,5\n", h + "1e1,5\n", h + "39,5\n", h + "-1,5\n", h + "17,65\n",
        h + "17,-1\n", h + "9223372036854775808,5\n", h + "1,1\n2,2\n3,3\n#ok\nbad\n",
        h + "#" + std::string(kMaxChordLineFileChars + 1, 'C') + "\n",
    };
    // clang-format on
    for (const std::string& text : texts) {
        const ScoreParseResult r = parseScore(text);
        EXPECT_EQ(r.rejection, ScoreRejection::UnknownFormat) << text;
        EXPECT_FALSE(r.score.has_value()) << text;
        EXPECT_FALSE(r.error.empty()) << text;
        EXPECT_EQ(rejectionMessage(r), "認識できないファイル形式です。");
    }
    // A chord line at the limit is read; counted in characters, not bytes.
    std::string flats;
    for (std::size_t i = 0; i < kMaxChordLineFileChars; ++i) flats += "\xE2\x99\xAD";
    EXPECT_EQ(parsed(h + "#" + flats + "\n").codeData, std::vector<std::string>{flats});
    EXPECT_EQ(rejectionDetail(parseScore(h + "\n#" + flats + "C\n")),
              "Line 3: the chord line has 8193 characters; a chord line holds at most 8192.");
}

TEST(ScoreFile, TextThatIsNotUtf8CannotBeOpened) {
    const std::string texts[] = {
        "<,sorvel2,0,3\n#\xFF\n",
        "<,sorvel2,0,3\n#\xC0\xAF\n",          // overlong "/"
        "<,sorvel2,0,3\n#\xED\xA0\x80\n",      // surrogate
        "<,sorvel2,0,3\n#\xF4\x90\x80\x80\n",  // above U+10FFFF
        "<,sorvel2,0,3\n#\xE2\x80",            // cut short
        "\x80<,sorvel2,0,3\n",
    };
    for (const std::string& text : texts) {
        const ScoreParseResult r = parseScore(text);
        EXPECT_EQ(r.rejection, ScoreRejection::CannotOpen) << text;
        EXPECT_FALSE(r.score.has_value());
        const std::string message = rejectionMessage(r);
        EXPECT_TRUE(message.starts_with("Can't open file \n\n")) << message;
        EXPECT_NE(message.find("UTF-8"), std::string::npos) << message;
    }
    EXPECT_EQ(firstInvalidUtf8("ab\xC3\xA9\xFF"), 4u);
    EXPECT_EQ(firstInvalidUtf8("\xF0\x9F\x8E\xB5 \xE3\x81\x82"), std::nullopt);
}

TEST(ScoreFile, ApplyingShowsPageOneWithTheFileSettings) {
    auto doc =
        givenScore().imageSets({"a", "b", "c"}).cells(ScoreCells(200, {17, 5})).onPage(3).build();
    const Score f{distinctCells(81), {"C", "F"}, {2, 9, 2, 4, 415}};
    doc->open(f);
    EXPECT_EQ(topPage(*doc), 1);
    EXPECT_EQ(pageCount(*doc), 3);
    EXPECT_EQ(chordLines(*doc), f.codeData);
    EXPECT_EQ(chordFields(*doc), (std::array<std::string, 3>{"C", "F", "     "}));
    EXPECT_EQ(staffMismatch(*doc), "");
    EXPECT_EQ(settings(*doc), (ShownSettings{"c", "240", "Eb", "6", "415"}));
    // Indices the lists do not have leave the combo box without a selection.
    doc->open(Score{{}, {}, {3, -1, 1000, 5, 440}});
    EXPECT_EQ(settings(*doc), (ShownSettings{"", "", "", "", "440"}));
}

// Files store the picture set as its index in the sorted list of set names: the sets shipped
// with the instrument charts sort after "keyboard" (0) and "names" (1), so a file saved with
// either opens with the same pictures, whatever order the folder lists them in.
TEST(ScoreFile, ShippedPictureSetsKeepTheIndicesFilesStore) {
    TempDir dir;
    for (const char* set : {"six-string guitar", "names", "recorder", "keyboard"})
        dir.write(std::string(set) + "/A0.png", "");
    dir.write("scale.csv", "maj,0:4:7\n");
    const std::vector<std::string> sets = listImageSets(dir.path());
    EXPECT_EQ(sets,
              (std::vector<std::string>{"keyboard", "names", "recorder", "six-string guitar"}));
    auto doc = givenScore().imageSets(sets, -1).build();
    doc->open(parsed("<,sorvel2,1,3,440,0,0\n17,5\n"));
    EXPECT_EQ(doc->imageSet(), "names");
}

TEST(ScoreFile, OpenTextsUrlsAreDecodedAndEverythingElseIsAPath) {
    // {text, taken, the path}
    const std::tuple<std::string, bool, std::string> cases[] = {
        {"file:///tmp/a%20b.txt", true, "/tmp/a b.txt"},
        {"FILE:///tmp/x", true, "/tmp/x"},
        {"file://localhost/tmp/x", true, "/tmp/x"},
        {"file:///tmp/a%23b%3F.txt?query#frag", true, "/tmp/a#b?.txt"},
        {"file:///tmp/%E3%81%82.txt", true, "/tmp/\xE3\x81\x82.txt"},
        {"/home/u/a%20b.txt", true, "/home/u/a%20b.txt"},
        {"http://example.org/x.txt", true, "http://example.org/x.txt"},
        {"file:///tmp/bad%zz", true, "file:///tmp/bad%zz"},  // not a URL
        {"file://server/share/x.txt", false, ""},
        {"file:///tmp/a%00b", false, ""},
        {"file://", false, ""},
    };
    for (const auto& [text, ok, path] : cases) {
        const Result<std::string> p = resolveOpenText(text);
        ASSERT_EQ(p.ok(), ok) << text;
        if (ok) {
            EXPECT_EQ(p.value(), path) << text;
        } else {
            EXPECT_NE(p.reason().find(text), std::string::npos) << p.reason();
        }
    }
    // The window title of a path.
    EXPECT_EQ(lastPathComponent("/a/b/tune.txt"), "tune.txt");
    EXPECT_EQ(lastPathComponent("/a/b/"), "b");
    EXPECT_EQ(lastPathComponent("/"), "/");
}

}  // namespace
}  // namespace sorvel
