// MusicXML import of untrusted bytes, plain or compressed (.mxl): never a crash, hang or leak;
// a refusal always says why; an accepted score holds only cells of our tables, and writing it
// out (compressed again when it came so) and reading it back gives the same cells. Marks with
// no note or rest between them share one measure boundary in MusicXML, and a score of marks
// alone has no measure to hold them: such scores are only checked for reading back at all. A
// bar line or repeat end before the first note closes nothing, and a repeat start or first
// ending after the last note opens nothing: they are not written.
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/musicxml_archive.h"
#include "exchange/musicxml_export.h"
#include "exchange/musicxml_import.h"
#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "model/note_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        sorvel::setDiagnosticSink([](std::string_view) {});
        return true;
    }();
    (void)quiet;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const sorvel::exchange::MusicXmlImport first = sorvel::exchange::importMusicXml(text);
    if (!first.ok) {
        if (first.error.empty()) std::abort();
        return 0;
    }
    if (first.score.musicData.size() > sorvel::exchange::kMaxImportedCells) std::abort();
    for (const sorvel::ScoreCell& cell : first.score.musicData) {
        if (!sorvel::tables::validPitch(cell.noteIndex) || !sorvel::validValue(cell.onpIndex)) {
            std::abort();
        }
    }
    bool marksTouch = false;
    bool lastWasMark = false, anyNote = false;
    for (const sorvel::ScoreCell& cell : first.score.musicData) {
        const sorvel::NoteKind kind = sorvel::noteValue(cell.onpIndex).kind;
        if (kind == sorvel::NoteKind::Blank) continue;
        const bool mark = kind != sorvel::NoteKind::Note && kind != sorvel::NoteKind::Rest;
        marksTouch = marksTouch || (mark && lastWasMark);
        anyNote = anyNote || !mark;
        lastWasMark = mark;
    }
    // A compressed file goes back compressed, through the same archive reader.
    const std::string plain = sorvel::exchange::writeMusicXml(first.score, first.title);
    const std::string written = sorvel::exchange::isZipArchive(text)
                                    ? sorvel::exchange::writeMusicXmlArchive(plain).value()
                                    : plain;
    const sorvel::exchange::MusicXmlImport second = sorvel::exchange::importMusicXml(written);
    if (!second.ok) std::abort();
    std::vector<sorvel::ScoreCell> expected = first.score.musicData;
    const auto kindOf = [](const sorvel::ScoreCell& c) {
        return sorvel::noteValue(c.onpIndex).kind;
    };
    for (auto it = expected.begin(); it != expected.end();) {
        const sorvel::NoteKind kind = kindOf(*it);
        if (kind == sorvel::NoteKind::BarLine || kind == sorvel::NoteKind::RepeatEnd) {
            it = expected.erase(it);
        } else if (kind == sorvel::NoteKind::Blank) {
            ++it;
        } else {
            break;
        }
    }
    for (auto it = expected.rbegin(); it != expected.rend(); ++it) {
        const sorvel::NoteKind kind = sorvel::noteValue(it->onpIndex).kind;
        if (kind == sorvel::NoteKind::Blank) continue;
        if (kind == sorvel::NoteKind::RepeatStart || kind == sorvel::NoteKind::FirstEnding) {
            expected.erase(std::next(it).base());
        }
        break;
    }
    if (anyNote && !marksTouch && second.score.musicData != expected) std::abort();
    return 0;
}
