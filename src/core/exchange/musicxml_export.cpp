#include "exchange/musicxml_export.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "exchange/chord_symbols.h"
#include "exchange/notation.h"
#include "model/notation_tables.h"
#include "model/note_values.h"
#include "sound/play_list.h"

namespace sorvel::exchange {
namespace {

std::string escapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                // Control characters other than tab and line ends are not allowed in XML.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                    out += '?';
                } else {
                    out += c;
                }
        }
    }
    return out;
}

// A chord line's texts with the columns they start at. Words that are no chord symbol and
// stand one blank apart are one text ("dolce cantabile").
struct ColumnText {
    std::size_t column = 0;
    std::string text;
    bool chord = false;
};

std::vector<ColumnText> columnTexts(std::string_view line) {
    std::vector<ColumnText> out;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && line[pos] == ' ') ++pos;
        const std::size_t end = std::min(line.find(' ', pos), line.size());
        if (end > pos) {
            const std::string_view token = line.substr(pos, end - pos);
            const bool chord = parseChordSymbol(token).has_value();
            if (!chord && !out.empty() && !out.back().chord &&
                out.back().column + out.back().text.size() + 1 == pos) {
                out.back().text += ' ';
                out.back().text += token;
            } else {
                out.push_back({pos, std::string(token), chord});
            }
        }
        pos = end;
    }
    return out;
}

std::string harmonyXml(const ColumnText& item) {
    const std::optional<ChordSymbol> chord =
        item.chord ? parseChordSymbol(item.text) : std::nullopt;
    if (!chord) {
        return "<direction placement=\"above\"><direction-type><words>" + escapeXml(item.text) +
               "</words></direction-type></direction>";
    }
    auto alter = [](std::string_view name, int a) {
        std::string x;
        if (a == 0) return x;
        x.append("<").append(name).append(">").append(std::to_string(a));
        return x.append("</").append(name).append(">");
    };
    std::string x = "<harmony><root><root-step>";
    x += chord->rootStep;
    x += "</root-step>" + alter("root-alter", chord->rootAlter) + "</root><kind text=\"" +
         escapeXml(chord->suffix) + "\">" + chord->kind + "</kind>";
    if (chord->bassStep != 0) {
        x += "<bass><bass-step>";
        x += chord->bassStep;
        x += "</bass-step>" + alter("bass-alter", chord->bassAlter) + "</bass>";
    }
    for (const ChordDegree& d : chord->degrees) {
        static constexpr const char* kTypes[] = {"add", "alter", "subtract"};
        x += "<degree><degree-value>" + std::to_string(d.value) + "</degree-value><degree-alter>" +
             std::to_string(d.alter) + "</degree-alter><degree-type>" +
             kTypes[static_cast<int>(d.type)] + "</degree-type></degree>";
    }
    return x + "</harmony>";
}

// A cell's note value as MusicXML writes it, read from the note-value table.
struct Written {
    NoteKind kind = NoteKind::Blank;
    int size = 0;
    bool dotted = false, triplet = false, tieStart = false;
    bool alternate = false;  // the other glyph family: stem down, bracket below
    std::int64_t divisions = 0;
};

Written writtenOf(std::int64_t v) {
    const NoteValue& n = noteValue(v);
    return {n.kind,
            n.size,
            n.form == NoteForm::Dotted,
            n.form == NoteForm::Triplet,
            n.form == NoteForm::Tied,
            secondFamily(v),
            divisionsOf(v)};
}

struct Measure {
    bool repeatForward = false;  // left barline
    bool endingStart = false;    // left barline
    bool explicitBar = false;    // right barline: a bar written beside other marks
    bool endingStop = false;     // right barline
    bool endingDiscontinue = false;
    bool repeatBackward = false;  // right barline
    std::string body;
    std::int64_t length = 0;
    bool hasContent = false;
};

}  // namespace

std::string writeMusicXml(const Score& score, std::string_view title) {
    const auto& cells = score.musicData;
    const std::size_t count = cells.size();
    std::vector<Written> values(count);
    for (std::size_t i = 0; i < count; ++i) values[i] = writtenOf(cells[i].onpIndex);
    auto timed = [&](std::size_t i) {
        return values[i].kind == NoteKind::Note || values[i].kind == NoteKind::Rest;
    };

    // Triplet brackets: a run of triplet cells, closed when it fills three of its first value
    // or when any other timed cell or a mark comes.
    std::vector<bool> tupletStart(count, false), tupletStop(count, false);
    std::vector<bool> tupletBelow(count, false);
    {
        std::int64_t sum = 0, target = 0;
        std::size_t first = 0, last = 0;
        bool open = false;
        auto close = [&] {
            if (!open) return;
            tupletStart[first] = true;
            tupletStop[last] = true;
            for (std::size_t k = first; k <= last; ++k) tupletBelow[k] = values[first].alternate;
            open = false;
        };
        for (std::size_t i = 0; i < count; ++i) {
            if (values[i].triplet) {
                if (!open) {
                    open = true;
                    first = i;
                    sum = 0;
                    target = 3 * values[i].divisions;
                }
                sum += values[i].divisions;
                last = i;
                if (sum >= target) close();
            } else if (values[i].kind != NoteKind::Blank) {
                close();
            }
        }
        close();
    }

    // Chord line texts: each on the note or rest under its column, else the next one of its
    // staff line (a column over a mark), else the line's last one.
    std::vector<std::vector<ColumnText>> chordsAt(count);
    for (std::size_t line = 0; line < score.codeData.size(); ++line) {
        const std::size_t begin = line * static_cast<std::size_t>(kCellsPerLine);
        if (begin >= count) break;
        const std::size_t end = std::min<std::size_t>(count, begin + kCellsPerLine);
        for (ColumnText& item : columnTexts(score.codeData[line])) {
            std::size_t at = std::min(begin + item.column, end);
            while (at < end && !timed(at)) ++at;
            if (at == end) {
                while (at > begin && !timed(at - 1)) --at;
                if (at == begin) continue;  // a staff line of marks alone holds no chord
                --at;
            }
            chordsAt[at].push_back(std::move(item));
        }
    }

    // Measures.
    std::vector<Measure> measures(1);
    bool endingOpen = false;
    bool barInGap = false;  // a bar mark between the last measure and the open one
    auto closeMeasure = [&] {
        if (measures.back().hasContent) measures.emplace_back();
    };
    auto previous = [&]() -> Measure* {
        return measures.size() > 1 ? &measures[measures.size() - 2] : nullptr;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const Written& v = values[i];
        switch (v.kind) {
            case NoteKind::Blank:
                continue;
            case NoteKind::BarLine:
                closeMeasure();
                if (previous() != nullptr) barInGap = true;
                continue;
            case NoteKind::RepeatStart:
                closeMeasure();
                measures.back().repeatForward = true;
                continue;
            case NoteKind::FirstEnding:
                closeMeasure();
                if (!endingOpen) {
                    measures.back().endingStart = true;
                    endingOpen = true;
                }
                continue;
            case NoteKind::RepeatEnd: {
                Measure* m = measures.back().hasContent ? &measures.back() : previous();
                if (m == nullptr) continue;  // a repeat end before any note plays nothing twice
                if (!m->repeatBackward) {
                    m->repeatBackward = true;
                    m->endingStop = endingOpen;
                    endingOpen = false;
                }
                closeMeasure();
                continue;
            }
            case NoteKind::Note:
            case NoteKind::Rest:
                break;
        }
        Measure& m = measures.back();
        if (barInGap && (m.repeatForward || m.endingStart)) {
            // The bar is not implied by this boundary: write it out.
            Measure* before = previous();
            if (before != nullptr && !before->repeatBackward) before->explicitBar = true;
        }
        barInGap = false;
        m.hasContent = true;
        for (const ColumnText& item : chordsAt[i]) m.body += harmonyXml(item);
        std::string x = "<note>";
        if (v.kind == NoteKind::Rest) {
            if (cells[i].noteIndex == kRestPitch || !tables::validPitch(cells[i].noteIndex)) {
                x += "<rest/>";
            } else {
                // A rest drawn at another height keeps it.
                const SpelledPitch p = spellPitch(cells[i].noteIndex);
                x += "<rest><display-step>";
                x += p.step;
                x += "</display-step><display-octave>" + std::to_string(p.octave) +
                     "</display-octave></rest>";
            }
        } else {
            const SpelledPitch p = spellPitch(cells[i].noteIndex);
            x += "<pitch><step>";
            x += p.step;
            x += "</step>";
            if (p.alter != 0) x += "<alter>" + std::to_string(p.alter) + "</alter>";
            x += "<octave>" + std::to_string(p.octave) + "</octave></pitch>";
        }
        x += "<duration>" + std::to_string(v.divisions) + "</duration>";
        std::string notations;
        const bool tieStop = v.kind == NoteKind::Note && [&] {
            // The note closes a tie when the sounding cell before it (rests and marks aside)
            // began one, as playback joins them.
            for (std::size_t k = i; k-- > 0;) {
                if (values[k].kind == NoteKind::Note) return values[k].tieStart;
            }
            return false;
        }();
        if (tieStop) x += "<tie type=\"stop\"/>";
        if (v.tieStart) x += "<tie type=\"start\"/>";
        x += "<voice>1</voice><type>";
        x += typeName(v.size);
        x += "</type>";
        if (v.dotted) x += "<dot/>";
        if (v.kind == NoteKind::Note) {
            // Every sharp and flat is shown as written, as on our staves.
            const std::int64_t alter = spellPitch(cells[i].noteIndex).alter;
            if (alter == 1) x += "<accidental>sharp</accidental>";
            if (alter == -1) x += "<accidental>flat</accidental>";
        }
        if (v.triplet) {
            x += "<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes>"
                 "</time-modification>";
        }
        if (v.kind == NoteKind::Note) x += v.alternate ? "<stem>down</stem>" : "<stem>up</stem>";
        if (tieStop) notations += "<tied type=\"stop\"/>";
        if (v.tieStart) notations += "<tied type=\"start\"/>";
        const char* side = tupletBelow[i] ? "below" : "above";
        if (tupletStart[i]) {
            notations +=
                std::string("<tuplet type=\"start\" bracket=\"yes\" placement=\"") + side + "\"/>";
        }
        if (tupletStop[i]) notations += "<tuplet type=\"stop\"/>";
        if (!notations.empty()) x += "<notations>" + notations + "</notations>";
        x += "</note>";
        m.body += x;
        m.length += v.divisions;
    }
    if (measures.size() > 1 && !measures.back().hasContent) {
        // Marks after the last note: a bar or repeat end is on the last measure's right; a
        // repeat start or first ending with nothing after it has nothing to mark.
        measures.pop_back();
        if (barInGap && !measures.back().repeatBackward) measures.back().explicitBar = true;
    }
    if (endingOpen) measures.back().endingDiscontinue = true;

    const std::int64_t beats = std::clamp<std::int64_t>(score.settings.beatValue(), 1, 64);
    const std::int64_t tempo = std::clamp<std::int64_t>(score.settings.tempoValue(), 1, 10000);
    const std::string key = score.settings.keyValue();
    std::string out;
    out.reserve(256 * count + 2048);
    out +=
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
        "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
        "<score-partwise version=\"4.0\">\n";
    if (!title.empty()) {
        out += "<work><work-title>" + escapeXml(title) + "</work-title></work>\n";
    }
    out +=
        "<identification><encoding><software>Sorvel Score</software></encoding>"
        "<miscellaneous><miscellaneous-field name=\"reference-pitch\">" +
        std::to_string(score.settings.referencePitch) +
        "</miscellaneous-field></miscellaneous></identification>\n"
        "<part-list><score-part id=\"P1\"><part-name>Melody</part-name>"
        "<score-instrument id=\"P1-I1\"><instrument-name>Melody</instrument-name>"
        "</score-instrument><midi-instrument id=\"P1-I1\"><midi-channel>1</midi-channel>"
        "<midi-program>1</midi-program></midi-instrument></score-part></part-list>\n"
        "<part id=\"P1\">\n";
    for (std::size_t n = 0; n < measures.size(); ++n) {
        const Measure& m = measures[n];
        out += "<measure number=\"" + std::to_string(n + 1) + "\"";
        if (n == 0 && m.length > 0 && m.length < beats * kDivisions) out += " implicit=\"yes\"";
        out += ">";
        if (m.repeatForward || m.endingStart) {
            out += "<barline location=\"left\">";
            out += m.repeatForward ? "<bar-style>heavy-light</bar-style>"
                                   : "<bar-style>regular</bar-style>";
            if (m.endingStart) out += "<ending number=\"1\" type=\"start\">1.</ending>";
            if (m.repeatForward) out += "<repeat direction=\"forward\"/>";
            out += "</barline>";
        }
        if (n == 0) {
            out += "<attributes><divisions>" + std::to_string(kDivisions) +
                   "</divisions><key><fifths>0</fifths></key><time><beats>" +
                   std::to_string(beats) +
                   "</beats><beat-type>4</beat-type></time><clef><sign>G</sign><line>2</line>"
                   "</clef>";
            if (key == "Bb") {
                out += "<transpose><diatonic>-1</diatonic><chromatic>-2</chromatic></transpose>";
            } else if (key == "Eb") {
                out += "<transpose><diatonic>2</diatonic><chromatic>3</chromatic></transpose>";
            }
            out +=
                "</attributes><direction placement=\"above\"><direction-type><metronome>"
                "<beat-unit>quarter</beat-unit><per-minute>" +
                std::to_string(tempo) +
                "</per-minute></metronome></direction-type><sound tempo=\"" +
                std::to_string(tempo) + "\"/></direction>";
        }
        out += m.body;
        if (m.explicitBar || m.repeatBackward || m.endingDiscontinue) {
            out += "<barline location=\"right\">";
            if (m.repeatBackward) {
                out += "<bar-style>light-heavy</bar-style>";
            } else if (m.explicitBar) {
                out += "<bar-style>regular</bar-style>";
            }
            if (m.endingStop) out += "<ending number=\"1\" type=\"stop\"/>";
            if (m.endingDiscontinue) out += "<ending number=\"1\" type=\"discontinue\"/>";
            if (m.repeatBackward) out += "<repeat direction=\"backward\"/>";
            out += "</barline>";
        }
        out += "</measure>\n";
    }
    out += "</part>\n</score-partwise>\n";
    return out;
}

}  // namespace sorvel::exchange
