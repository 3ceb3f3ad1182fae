// MusicXML import of untrusted bytes, plain or compressed (.mxl): never a crash, hang or leak;
// a refusal always says why; an accepted score holds only cells of our tables, and writing it
// out (compressed again when it came so) and reading it back gives the same cells. Marks with
// no note or rest between them share one measure boundary in MusicXML, and a score of marks
// alone has no measure to hold them: such scores are only checked for reading back at all. A
// bar line or repeat end before the first note closes nothing, and a repeat start or first
// ending after the last note opens nothing: they are not written.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/musicxml_archive.h"
#include "exchange/musicxml_export.h"
#include "exchange/musicxml_import.h"
#include "fuzz_checks.h"

using namespace sorvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const exchange::MusicXmlImport first = exchange::importMusicXml(text);
    if (!first.ok) {
        if (first.error.empty()) std::abort();
        return 0;
    }
    if (first.score.musicData.size() > exchange::kMaxImportedCells) std::abort();
    abortUnlessInTables(first.score.musicData);
    const auto kindOf = [](const ScoreCell& c) { return noteValue(c.onpIndex).kind; };
    bool marksTouch = false, lastWasMark = false, anyNote = false;
    for (const ScoreCell& cell : first.score.musicData) {
        const NoteKind kind = kindOf(cell);
        if (kind == NoteKind::Blank) continue;
        const bool mark = kind != NoteKind::Note && kind != NoteKind::Rest;
        marksTouch = marksTouch || (mark && lastWasMark);
        anyNote = anyNote || !mark;
        lastWasMark = mark;
    }
    // A compressed file goes back compressed, through the same archive reader.
    const std::string plain = exchange::writeMusicXml(first.score, first.title);
    const std::string written =
        exchange::isZipArchive(text) ? exchange::writeMusicXmlArchive(plain).value() : plain;
    const exchange::MusicXmlImport second = exchange::importMusicXml(written);
    if (!second.ok) std::abort();
    std::vector<ScoreCell> expected = first.score.musicData;
    const auto closesNothing = [&](const ScoreCell& c) {
        return kindOf(c) == NoteKind::BarLine || kindOf(c) == NoteKind::RepeatEnd;
    };
    const auto opensNothing = [&](const ScoreCell& c) {
        return kindOf(c) == NoteKind::RepeatStart || kindOf(c) == NoteKind::FirstEnding;
    };
    const auto notBlank = [&](const ScoreCell& c) { return kindOf(c) != NoteKind::Blank; };
    const auto lead = std::ranges::find_if_not(
        expected, [&](const ScoreCell& c) { return !notBlank(c) || closesNothing(c); });
    expected.erase(std::remove_if(expected.begin(), lead, closesNothing), lead);
    if (const auto last = std::ranges::find_if(expected.rbegin(), expected.rend(), notBlank);
        last != expected.rend() && opensNothing(*last)) {
        expected.erase(std::next(last).base());
    }
    if (anyNote && !marksTouch && second.score.musicData != expected) std::abort();
    return 0;
}
