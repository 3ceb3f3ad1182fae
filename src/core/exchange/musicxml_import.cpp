#include "exchange/musicxml_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "exchange/chord_symbols.h"
#include "exchange/musicxml_archive.h"
#include "exchange/notation.h"
#include "model/notation_tables.h"
#include "model/note_values.h"
#include "model/score_file.h"
#include "sound/play_list.h"

namespace sorvel::exchange {
namespace {

using Node = XmlNode;

// Times are counted in divisions of 48 per quarter note (kDivisions); a file's own divisions
// can give fractions of those, so the file's times are doubles and ours whole numbers.
constexpr double kEps = 1e-6;
// A single note longer than this (10,000 whole notes) is no melody; it is not read.
constexpr double kMaxNoteLength = 10'000.0 * 4 * kDivisions;

double snapped(double t) {
    const double whole = std::round(t);
    return std::fabs(t - whole) < kEps ? whole : t;
}

std::optional<std::int64_t> toInt(std::string_view s) {
    s = trimmed(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    std::int64_t v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || s.empty()) return std::nullopt;
    return v;
}

// A decimal such as "120" or "-1.0"; nothing for anything else.
std::optional<double> toNumber(std::string_view s) {
    s = trimmed(s);
    if (s.empty() || s.size() > 32) return std::nullopt;
    std::string copy(s);
    char* end = nullptr;
    const double v = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

int sizeOfType(std::string_view t) {
    static constexpr std::string_view names[6] = {"whole",  "half", "quarter",
                                                  "eighth", "16th", "32nd"};
    for (int i = 0; i < 6; ++i) {
        if (names[i] == t) return i;
    }
    return -1;
}

// Lengths of our cells: a note value that is not a tie start, and whether one holds len.
bool oneCell(std::int64_t len) {
    static const std::vector<bool> table = [] {
        std::vector<bool> t(6 * kDivisions + 1, false);
        for (std::int64_t v = 1; v < kValueCount; ++v) {
            if (isPitched(v) && noteValue(v).form != NoteForm::Tied) {
                t[static_cast<std::size_t>(divisionsOf(v))] = true;
            }
        }
        return t;
    }();
    return len >= 0 && len < std::ssize(table) && table[static_cast<std::size_t>(len)];
}

// Whether a tie chain holds len exactly: plain values, each tied to the next, and a last one
// of any value (a triplet, a dotted thirty-second ...).
bool chainable(std::int64_t len) {
    if (len <= 0) return false;
    switch (len % 6) {
        case 0:
            return true;
        case 2:
            return len >= 8;
        case 3:
            return len >= 9;
        case 4:
            return len >= 16;
        default:
            return false;
    }
}

// The lengths of a chain holding len: one cell when one does, else the longest plain values
// first. plainOnly: every piece plain, so that the last can start a tie too.
std::vector<std::int64_t> chainLengths(std::int64_t len, bool plainOnly) {
    std::vector<std::int64_t> out;
    while (len > 0 && out.size() < kMaxImportedCells) {
        if (!plainOnly && oneCell(len)) {
            out.push_back(len);
            break;
        }
        std::int64_t piece = 0;
        for (std::int64_t p = 4 * kDivisions; p >= kDivisions / 8; p /= 2) {
            const std::int64_t rest = len - p;
            if (rest == 0 || (rest > 0 && (plainOnly ? rest % 6 == 0 : chainable(rest)))) {
                piece = p;
                break;
            }
        }
        if (piece == 0) break;
        out.push_back(piece);
        len -= piece;
    }
    return out;
}

// How many cells chainLengths gives for len (a chainable length); a table for the lengths
// up to four whole notes, whole notes before that.
std::int64_t chainCells(std::int64_t len) {
    constexpr std::int64_t kTable = 16 * kDivisions;
    static const std::vector<std::int64_t> table = [] {
        std::vector<std::int64_t> t(kTable + 1, 0);
        for (std::int64_t l = 1; l <= kTable; ++l) {
            if (chainable(l)) t[static_cast<std::size_t>(l)] = std::ssize(chainLengths(l, false));
        }
        return t;
    }();
    const std::int64_t wholes = len > kTable ? (len - kTable) / (4 * kDivisions) + 1 : 0;
    return wholes + table[static_cast<std::size_t>(len - wholes * 4 * kDivisions)];
}

// The cell value of one length: a note or rest of the family asked for when it has one.
std::int64_t valueOfLength(std::int64_t len, bool rest, bool alternate) {
    std::int64_t found = -1;
    for (std::int64_t v = 1; v < kValueCount; ++v) {
        const NoteValue& n = noteValue(v);
        if (n.kind != (rest ? NoteKind::Rest : NoteKind::Note) || n.form == NoteForm::Tied ||
            divisionsOf(v) != len) {
            continue;
        }
        if (secondFamily(v) == alternate) return v;
        if (found < 0) found = v;
    }
    return found;
}

// What was dropped or changed, by kind: a count and, where durations changed, the bars.
class Report {
  public:
    void add(const std::string& what, std::int64_t n = 1) { line(what).count += n; }
    void inBar(const std::string& what, const std::string& bar) {
        Line& l = line(what);
        ++l.count;
        if (l.bars.empty() || l.bars.back() != bar) l.bars.push_back(bar);
    }
    std::vector<std::string> sentences() const {
        std::vector<std::string> out;
        for (const Line& l : lines_) {
            std::string s = l.what;
            if (!l.bars.empty()) {
                s += l.bars.size() == 1 ? " (bar " : " (bars ";
                for (std::size_t i = 0; i < l.bars.size() && i < kBarsShown; ++i) {
                    s += (i == 0 ? "" : ", ") + l.bars[i];
                }
                s += l.bars.size() > kBarsShown ? ", ...)" : ")";
            }
            out.push_back(s + ": " + std::to_string(l.count) + ".");
        }
        return out;
    }

  private:
    static constexpr std::size_t kBarsShown = 8;
    struct Line {
        std::string what;
        std::int64_t count = 0;
        std::vector<std::string> bars;
    };
    Line& line(const std::string& what) {
        for (Line& l : lines_) {
            if (l.what == what) return l;
        }
        lines_.push_back({what, 0, {}});
        return lines_.back();
    }
    std::vector<Line> lines_;
};

struct Barlines {
    bool forward = false, ending = false, backward = false, styled = false;
    bool restyled = false;  // a style we draw as a plain bar line
    std::string rightStyle;
};

Barlines readBarlines(const Node& measure, Report& report) {
    Barlines b;
    for (const auto& c : measure.children) {
        if (c->name != "barline") continue;
        const std::string_view loc = c->hasAttr("location") ? c->attr("location") : "right";
        const Node* repeat = c->child("repeat");
        if (repeat != nullptr) {
            if (repeat->attr("direction") == "forward" && loc == "left") b.forward = true;
            if (repeat->attr("direction") == "backward" && loc == "right") {
                b.backward = true;
                if (repeat->hasAttr("times") && trimmed(repeat->attr("times")) != "2") {
                    report.add("Repeats are played twice, whatever number of times they ask for");
                }
            }
        }
        const Node* e = c->child("ending");
        if (e != nullptr && e->attr("type") == "start") {
            if (trimmed(e->attr("number")) == "1") {
                b.ending = true;
            } else {
                report.add("Endings other than the first were dropped (their notes are kept)");
            }
        }
        const std::string_view style = trimmed(c->childText("bar-style"));
        if (loc == "right" && c->child("bar-style") != nullptr) {
            b.styled = true;
            b.rightStyle = std::string(style);
        }
        if (!style.empty() && style != "regular" && repeat == nullptr && e == nullptr) {
            b.restyled = true;
        }
    }
    return b;
}

// The item nearest to a number; ties go to the first.
std::int64_t nearestItem(const std::vector<std::string>& items, std::int64_t value) {
    std::int64_t best = 0, bestGap = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto v = toInt(items[i]);
        if (!v) continue;
        const std::int64_t gap = std::llabs(*v - value);
        if (bestGap < 0 || gap < bestGap) {
            best = static_cast<std::int64_t>(i);
            bestGap = gap;
        }
    }
    return best;
}

std::int64_t naturalFirstIndexOfMidi(std::int64_t midi) {
    std::int64_t found = -1;
    for (std::int64_t i = 0; i < tables::kPitchCount; ++i) {
        const SpelledPitch p = spellPitch(i);
        if (p.midi() != midi) continue;
        if (p.alter == 0) return i;
        if (found < 0) found = i;
    }
    return found;
}

int roundedAlter(std::string_view text) {
    return static_cast<int>(std::lround(toNumber(text).value_or(0)));
}

std::vector<ChordDegree> harmonyDegrees(const Node& h) {
    std::vector<ChordDegree> out;
    for (const auto& c : h.children) {
        if (c->name != "degree") continue;
        ChordDegree d;
        d.value = static_cast<int>(toInt(c->childText("degree-value")).value_or(0));
        d.alter = roundedAlter(c->childText("degree-alter"));
        const std::string_view type = trimmed(c->childText("degree-type"));
        d.type = type == "alter"      ? ChordDegree::Type::Alter
                 : type == "subtract" ? ChordDegree::Type::Subtract
                                      : ChordDegree::Type::Add;
        out.push_back(d);
    }
    return out;
}

// A harmony as chord line text: root, the suffix of our names for its kind and degrees (its
// own text where that names the same chord), bass.
std::string harmonyText(const Node& h, Report& report) {
    const Node* kind = h.child("kind");
    const std::string_view kindValue = kind != nullptr ? trimmed(kind->text) : "major";
    const std::string_view kindText = kind != nullptr ? trimmed(kind->attr("text")) : "";
    if (kindValue == "none") return kindText.empty() ? "N.C." : std::string(kindText);
    const Node* root = h.child("root");
    if (root == nullptr) {
        report.add("Chord symbols without a root (functions, numerals) were dropped");
        return {};
    }
    const std::string_view step = trimmed(root->childText("root-step"));
    if (step.size() != 1 || step[0] < 'A' || step[0] > 'G') {
        report.add("Chord symbols with an unreadable root were dropped");
        return {};
    }
    ChordSymbol c;
    c.rootStep = step[0];
    c.rootAlter = roundedAlter(root->childText("root-alter"));
    if (const Node* bass = h.child("bass")) {
        const std::string_view bstep = trimmed(bass->childText("bass-step"));
        if (bstep.size() == 1 && bstep[0] >= 'A' && bstep[0] <= 'G') {
            c.bassStep = bstep[0];
            c.bassAlter = roundedAlter(bass->childText("bass-alter"));
        }
    }
    if (std::abs(c.rootAlter) > 1 || std::abs(c.bassAlter) > 1) {
        report.add("Double sharps and flats in chord roots were written as single ones");
        c.rootAlter = std::clamp(c.rootAlter, -1, 1);
        c.bassAlter = std::clamp(c.bassAlter, -1, 1);
    }
    const std::vector<ChordDegree> degrees = harmonyDegrees(h);
    const auto own = parseChordSymbol("C" + std::string(kindText));
    if (!kindText.empty() && own && own->kind == kindValue && own->degrees == degrees) {
        c.suffix = std::string(kindText);
    } else if (auto ours = suffixOf(kindValue, degrees)) {
        c.suffix = *ours;
    } else {
        c.suffix = std::string(kindText.empty() ? kindValue : kindText);
        report.add("Chord kinds we have no symbol for were written by name");
    }
    return chordText(c);
}

// One voice event's sound: a note or rest and the cell its type, dots and tuplet name.
struct Sound {
    bool rest = true;
    std::int64_t pitch = kRestPitch;
    bool alternate = false;
    bool tieStart = false;
    std::optional<std::int64_t> written;
    bool typed = false;  // the file names a written value (which may have no cell)
    bool wholeBarRest = false;
};

class Importer {
  public:
    MusicXmlImport run(const Node& root);

  private:
    void readMeasure(const Node& measure);
    void readAttributes(const Node& attributes);
    void readNote(const Node& note);
    void readDirection(const Node& direction);
    void readSound(const Node& sound);
    void setTempo(std::int64_t tempo);
    std::optional<std::int64_t> readPitch(const Node& pitch);
    // The voice's next value, held until the measure ends: the measure's values are rounded
    // together so that it lasts what the file says.
    void queue(double length, const Sound& sound);
    void fillTo(double pos);
    std::vector<std::int64_t> roundedEnds() const;
    void flush();
    // One value of len (ours) for the file's length: its cells, with what changed.
    void emit(std::int64_t len, double length, double start, const Sound& sound);
    void placeChords();
    void pushCell(std::int64_t pitch, std::int64_t value);
    void pushMark(std::int64_t value) { pushCell(kRestPitch, value); }
    std::vector<std::string> chordLines();
    void chooseSettings();

    MusicXmlImport result_;
    Report report_;
    std::int64_t tempo_ = 120, beats_ = 4;
    std::string key_ = "C";
    double divisions_ = 1;
    std::int64_t timeBeats_ = 4, timeType_ = 4;  // the time signature in force
    bool haveVoice_ = false;
    std::string voice_;
    bool haveTime_ = false, haveTempo_ = false, haveTranspose_ = false;
    bool tupletBelow_ = false;
    bool tooLong_ = false;
    std::string bar_;  // the measure being read, as the file numbers it

    // Time: where the voice's cells end (ours) and where the file's notes end (the file's).
    std::int64_t emitted_ = 0;
    double ideal_ = 0;
    // Within the measure: its start, the file's cursor (backup and forward move it), the
    // furthest point any voice reached, and the end of the voice's last note.
    double measureStart_ = 0, cursor_ = 0, furthest_ = 0, voiceEnd_ = 0;

    struct Event {
        std::size_t cell = 0;
        double start = 0;  // within the measure
    };
    struct TimedText {
        double time = 0;  // within the measure
        std::string text;
    };
    struct PlacedText {
        std::size_t cell = 0;
        std::string text;
    };
    struct Queued {
        double length = 0, end = 0;  // the file's, end on the whole time line
        Sound sound;
    };
    std::vector<Queued> queued_;        // the voice's values of this measure, not yet cells
    std::vector<Event> events_;         // the voice's notes and rests in this measure
    std::vector<TimedText> texts_;      // chord symbols and words of this measure
    std::vector<std::string> carried_;  // texts of measures without notes, for the next note
    std::vector<PlacedText> placed_;    // texts on their cells
    std::int64_t clefs_ = 0;            // clefs other than the treble clef
};

void Importer::pushCell(std::int64_t pitch, std::int64_t value) {
    auto& cells = result_.score.musicData;
    if (cells.size() >= kMaxImportedCells) {
        tooLong_ = true;
        return;
    }
    cells.push_back({pitch, value});
}

void Importer::queue(double length, const Sound& s) {
    ideal_ = snapped(ideal_ + length);
    queued_.push_back({length, ideal_, s});
}

// Rests up to pos (within the measure) where the voice has nothing.
void Importer::fillTo(double pos) {
    if (pos <= voiceEnd_ + kEps) return;
    report_.inBar("Rests were added where the first voice is silent", bar_);
    queue(pos - voiceEnd_, Sound{});
    voiceEnd_ = pos;
}

// Where each queued value ends on our time line. Values our cells hold end where the file
// says. Others end at the points that keep them nearest to the file's times, preferring the
// thirty-second grid, single cells and keeping every value, and always so that the measure
// ends where the file's does when cells can reach it.
std::vector<std::int64_t> Importer::roundedEnds() const {
    const std::size_t n = queued_.size();
    std::vector<std::int64_t> ends(n);
    std::int64_t at = emitted_;
    bool plain = true;
    for (std::size_t i = 0; i < n && plain; ++i) {
        const double end = queued_[i].end;
        plain = end == std::round(end) && chainable(static_cast<std::int64_t>(end) - at);
        at = ends[i] = static_cast<std::int64_t>(end);
    }
    if (plain) return ends;

    constexpr double kDropCost = 8, kOffGridCost = 1, kCellCost = 1.5;
    constexpr std::int64_t grid = kDivisions / 8;
    struct Choice {
        std::int64_t end;
        double cost;
        std::size_t from;
    };
    std::vector<std::vector<Choice>> layers(n + 1);
    layers[0].push_back({emitted_, 0, 0});
    for (std::size_t i = 0; i < n; ++i) {
        const double ideal = queued_[i].end;
        const auto lo = static_cast<std::int64_t>(std::floor(ideal)) - 2 * grid;
        const auto hi = static_cast<std::int64_t>(std::ceil(ideal)) + 2 * grid;
        std::vector<std::int64_t> candidates;
        for (std::int64_t r = std::max(lo, emitted_); r <= hi; ++r) candidates.push_back(r);
        for (const Choice& c : layers[i]) {
            // A value may end where the one before did (dropped), unless that is far behind.
            if ((c.end < lo || c.end > hi) && c.end >= lo - 2 * grid) {
                candidates.push_back(c.end);
            }
        }
        for (const std::int64_t r : candidates) {
            Choice best{r, -1, 0};
            for (std::size_t k = 0; k < layers[i].size(); ++k) {
                const Choice& prev = layers[i][k];
                const std::int64_t len = r - prev.end;
                if (len < 0 || (len > 0 && !chainable(len))) continue;
                const double cost =
                    prev.cost + std::fabs(static_cast<double>(r) - ideal) +
                    (len == 0 ? kDropCost : kCellCost * static_cast<double>(chainCells(len) - 1)) +
                    (r % grid != 0 ? kOffGridCost : 0);
                if (best.cost < 0 || cost < best.cost) best = {r, cost, k};
            }
            if (best.cost >= 0) layers[i + 1].push_back(best);
        }
        if (layers[i + 1].empty()) layers[i + 1].push_back({layers[i][0].end, 0, 0});
    }
    // The measure ends where the file's does whenever a choice gets there.
    const double last = queued_.back().end;
    std::size_t pick = 0;
    double pickCost = -1;
    for (std::size_t k = 0; k < layers[n].size(); ++k) {
        const Choice& c = layers[n][k];
        const double cost = c.cost + 1000 * std::fabs(static_cast<double>(c.end) - last);
        if (pickCost < 0 || cost < pickCost) {
            pick = k;
            pickCost = cost;
        }
    }
    for (std::size_t i = n; i-- > 0;) {
        const Choice& c = layers[i + 1][pick];
        ends[i] = c.end;
        pick = c.from;
    }
    return ends;
}

void Importer::flush() {
    if (queued_.empty()) return;
    const std::vector<std::int64_t> ends = roundedEnds();
    double start = ideal_;
    for (const Queued& q : queued_) start -= q.length;
    for (std::size_t i = 0; i < queued_.size() && !tooLong_; ++i) {
        const std::int64_t len = ends[i] - emitted_;
        emit(len, queued_[i].length, start, queued_[i].sound);
        emitted_ = ends[i];
        start += queued_[i].length;
    }
    queued_.clear();
}

void Importer::emit(std::int64_t len, double length, double start, const Sound& s) {
    if (len == 0) {
        report_.inBar("Notes and rests too short for any cell were dropped", bar_);
        return;
    }
    const bool exact = std::fabs(length - static_cast<double>(len)) < kEps;
    if (!exact) report_.inBar("Durations no cell can hold were rounded", bar_);
    events_.push_back({result_.score.musicData.size(), start - measureStart_});

    bool tie = s.tieStart && !s.rest;
    std::vector<std::int64_t> values;
    if (s.written && divisionsOf(*s.written) == len &&
        (!tie || noteValue(noteValue(*s.written).tie).form == NoteForm::Tied)) {
        values.push_back(tie ? noteValue(*s.written).tie : *s.written);
    } else {
        if (tie && len % 6 != 0) {
            tie = false;
            report_.add("Ties after triplet notes were dropped (the notes sound apart)");
        }
        const std::vector<std::int64_t> pieces = chainLengths(len, tie);
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            std::int64_t v = valueOfLength(pieces[i], s.rest, s.alternate);
            if (!s.rest && (i + 1 < pieces.size() || tie)) v = noteValue(v).tie;
            values.push_back(v);
        }
        if (exact && s.typed && !s.wholeBarRest) {
            report_.inBar("Notes and rests were written as other cells of the same length", bar_);
        }
    }
    for (const std::int64_t v : values) pushCell(s.pitch, v);
}

void Importer::setTempo(std::int64_t tempo) {
    if (!haveTempo_) {
        tempo_ = tempo;
        haveTempo_ = true;
    } else if (tempo != tempo_) {
        report_.add("Tempo changes after the first tempo were dropped");
    }
}

void Importer::readSound(const Node& sound) {
    if (!sound.hasAttr("tempo")) return;
    if (auto t = toNumber(sound.attr("tempo")); t && *t >= 1 && *t <= 10000) {
        setTempo(std::llround(*t));
    }
}

void Importer::readDirection(const Node& direction) {
    std::string words;
    for (const auto& dt : direction.children) {
        if (dt->name == "sound") readSound(*dt);
        if (dt->name != "direction-type") continue;
        for (const auto& item : dt->children) {
            if (item->name == "words") {
                // A chord line is texts separated by blanks: a text keeps its words in order.
                std::string_view w = item->text;
                while (!(w = trimmed(w)).empty()) {
                    std::size_t end = 0;
                    while (end < w.size() && !std::isspace(static_cast<unsigned char>(w[end])))
                        ++end;
                    if (!words.empty()) words += ' ';
                    words += w.substr(0, end);
                    w.remove_prefix(end);
                }
            } else if (item->name == "metronome") {
                const auto pm = toNumber(item->childText("per-minute"));
                if (pm && *pm >= 1 && *pm <= 10000) {
                    double perMinute = *pm;
                    const int size = sizeOfType(trimmed(item->childText("beat-unit")));
                    if (size >= 0) perMinute *= std::pow(2.0, 2 - size);
                    if (item->child("beat-unit-dot") != nullptr) perMinute *= 1.5;
                    setTempo(std::max<std::int64_t>(1, std::llround(perMinute)));
                }
            } else {
                report_.add("Dynamics and other directions were dropped");
            }
        }
    }
    if (words.empty()) return;
    const double offset = toNumber(direction.childText("offset")).value_or(0);
    texts_.push_back({cursor_ + offset * kDivisions / divisions_, std::move(words)});
}

void Importer::readAttributes(const Node& a) {
    if (auto dv = toNumber(a.childText("divisions")); dv && *dv >= 1 && *dv <= 1e7) {
        divisions_ = std::round(*dv);
    }
    for (const auto& c : a.children) {
        if (c->name == "key") {
            const auto fifths = toInt(c->childText("fifths"));
            if (!fifths || *fifths != 0) {
                report_.add("Key signatures were not kept (the notes keep their pitches)");
            }
        } else if (c->name == "clef") {
            // The voice is read from the first staff; clefs of the others do not matter.
            const std::string_view staff = trimmed(c->attr("number"));
            const bool treble = trimmed(c->childText("sign")) == "G" &&
                                toInt(c->childText("line")).value_or(2) == 2 &&
                                c->child("clef-octave-change") == nullptr;
            if (!treble && (staff.empty() || staff == "1")) ++clefs_;
        }
    }
    if (const Node* t = a.child("time")) {
        const auto beats = toInt(t->childText("beats"));
        const auto type = toInt(t->childText("beat-type"));
        if (beats && type && *beats >= 1 && *beats <= 64 && *type >= 1 && *type <= 64) {
            timeBeats_ = *beats;
            timeType_ = *type;
            const std::int64_t quarters = *beats * 4 / *type;
            if (!haveTime_) {
                beats_ = std::max<std::int64_t>(1, quarters);
                if (*beats * 4 % *type != 0) {
                    report_.add("A time signature not counted in quarter notes was rounded");
                }
                haveTime_ = true;
            } else if (quarters != beats_) {
                report_.add("Time signature changes were dropped (the bar lines stay)");
            }
        }
    }
    if (const Node* tr = a.child("transpose"); tr != nullptr && !haveTranspose_) {
        haveTranspose_ = true;
        const auto chromatic = toInt(tr->childText("chromatic")).value_or(0) +
                               12 * toInt(tr->childText("octave-change")).value_or(0);
        if (chromatic == -2) {
            key_ = "Bb";
        } else if (chromatic == 3) {
            key_ = "Eb";
        } else if (chromatic != 0) {
            report_.add("Transpositions other than Bb and Eb were dropped");
        }
    }
}

std::optional<std::int64_t> Importer::readPitch(const Node& pitchNode) {
    const std::string_view step = trimmed(pitchNode.childText("step"));
    const auto octave = toInt(pitchNode.childText("octave"));
    if (step.size() != 1 || step[0] < 'A' || step[0] > 'G' || !octave || *octave < -10 ||
        *octave > 20) {
        return std::nullopt;
    }
    const double alter = toNumber(pitchNode.childText("alter")).value_or(0.0);
    if (alter != std::round(alter) || std::fabs(alter) > 10) {
        report_.add("Microtonal alterations were rounded");
    }
    const SpelledPitch sp{step[0], std::llround(std::clamp(alter, -10.0, 10.0)), *octave};
    if (auto i = pitchIndexOf(sp)) return *i;
    std::int64_t midi = sp.midi();
    const std::int64_t low = spellPitch(0).midi(), high = spellPitch(38).midi();
    if (midi < low || midi > high) {
        while (midi < low) midi += 12;
        while (midi > high) midi -= 12;
        report_.add("Pitches outside " + pitchNameWithScientific(0) + " to " +
                    pitchNameWithScientific(tables::kPitchCount - 1) +
                    " were moved by octaves into the range");
    } else {
        report_.add("Pitches with a spelling we do not have were respelled");
    }
    return naturalFirstIndexOfMidi(midi);
}

void Importer::readNote(const Node& note) {
    if (note.child("grace") != nullptr) return report_.add("Grace notes were dropped");
    if (note.child("chord") != nullptr) {
        // Sounds with the note before: no time of its own.
        const std::string voice(trimmed(note.childText("voice")));
        if (haveVoice_ && voice == voice_) {
            report_.add("Chord notes beyond the first note of a chord were dropped");
        } else {
            report_.add("Notes of other voices were dropped");
        }
        return;
    }
    const Node* restNode = note.child("rest");
    const Node* pitchNode = note.child("pitch");
    const int size = sizeOfType(trimmed(note.childText("type")));
    std::int64_t dots = 0;
    for (const auto& c : note.children) dots += c->name == "dot";
    const Node* tm = note.child("time-modification");
    const auto actual = tm ? toInt(tm->childText("actual-notes")) : std::nullopt;
    const auto normal = tm ? toInt(tm->childText("normal-notes")) : std::nullopt;
    const bool plainTime = tm == nullptr || (actual && normal && *actual == *normal);
    const bool triplet = tm != nullptr && actual == 3 && normal == 2;

    // The written form: the type read with its dots and tuplet, when a cell has it.
    std::optional<NoteForm> form;
    if (size >= 0 && dots <= 1 && (plainTime || triplet) && !(dots == 1 && triplet)) {
        form = triplet ? NoteForm::Triplet : (dots == 1 ? NoteForm::Dotted : NoteForm::Plain);
    }
    const auto writtenAs = [&](bool rest, bool alternate) -> std::optional<std::int64_t> {
        if (!form) return std::nullopt;
        return writtenValue(rest ? NoteKind::Rest : NoteKind::Note, size, *form, alternate);
    };
    // The length: the duration, else the written value, else (a rest) the whole bar.
    const double barLength =
        static_cast<double>(timeBeats_ * 4 * kDivisions) / static_cast<double>(timeType_);
    const bool measureRest = restNode != nullptr && restNode->attr("measure") == "yes";
    bool wholeBarRest = restNode != nullptr && (measureRest || size <= 0);
    std::optional<double> length;
    if (auto d = toNumber(note.childText("duration")); d && *d > 0) {
        length = snapped(*d * kDivisions / divisions_);
    } else if (auto w = writtenAs(restNode != nullptr, false); w && !wholeBarRest) {
        length = static_cast<double>(divisionsOf(*w));
    } else if (wholeBarRest) {
        length = barLength;
    }
    // A whole rest that does not fill its bar is a whole rest.
    if (length && !measureRest && std::fabs(*length - barLength) > kEps) wholeBarRest = false;

    const std::string voice(trimmed(note.childText("voice")));
    if (!haveVoice_) {
        haveVoice_ = true;
        voice_ = voice;
    }
    if (!length || *length > kMaxNoteLength) {
        if (voice == voice_) report_.add("Notes without a readable length were dropped");
        return;
    }
    const double start = cursor_;
    cursor_ += *length;
    furthest_ = std::max(furthest_, cursor_);
    if (voice != voice_) return report_.add("Notes of other voices were dropped");
    if (start < voiceEnd_ - kEps) {
        return report_.add("Notes of the first voice that overlap the note before were dropped");
    }

    bool tieStart = false;
    for (const auto& c : note.children) {
        if (c->name == "tie" && c->attr("type") == "start") tieStart = true;
    }
    if (const Node* n = note.child("notations")) {
        for (const auto& c : n->children) {
            if (c->name == "tied" && c->attr("type") == "start") tieStart = true;
            if (c->name == "tuplet" && c->attr("type") == "start") {
                tupletBelow_ = c->attr("placement") == "below";
            }
            if (c->name != "tied" && c->name != "tuplet") {
                report_.add("Slurs, articulations and other note markings were dropped");
            }
        }
    }
    if (note.child("lyric") != nullptr) report_.add("Lyrics were dropped");

    Sound s;
    s.wholeBarRest = wholeBarRest;
    s.typed = !trimmed(note.childText("type")).empty();
    if (restNode != nullptr) {
        const std::string_view ds = trimmed(restNode->childText("display-step"));
        const auto dov = toInt(restNode->childText("display-octave"));
        if (ds.size() == 1 && dov) {
            if (auto i = pitchIndexOf({ds[0], 0, *dov})) s.pitch = *i;
        }
    } else if (pitchNode == nullptr) {
        report_.add(note.child("unpitched") != nullptr ? "Unpitched notes became rests"
                                                       : "Notes without a pitch became rests");
    } else if (auto p = readPitch(*pitchNode)) {
        if (note.child("cue") != nullptr) {
            report_.add("Cue notes became rests");
        } else {
            s.rest = false;
            s.pitch = *p;
            s.tieStart = tieStart;
        }
    } else {
        report_.add("Notes with an unreadable pitch became rests");
    }
    s.alternate = s.rest ? tupletBelow_ : trimmed(note.childText("stem")) == "down";
    s.written = writtenAs(s.rest, s.alternate);
    fillTo(start);
    queue(*length, s);
    voiceEnd_ = start + *length;
    if (const Node* n = note.child("notations")) {
        for (const auto& c : n->children) {
            if (c->name == "tuplet" && c->attr("type") == "stop") tupletBelow_ = false;
        }
    }
}

void Importer::readMeasure(const Node& measure) {
    measureStart_ = ideal_;
    cursor_ = furthest_ = voiceEnd_ = 0;
    events_.clear();
    texts_.clear();
    for (const auto& c : measure.children) {
        if (tooLong_) return;
        if (c->name == "attributes") {
            readAttributes(*c);
        } else if (c->name == "note") {
            readNote(*c);
        } else if (c->name == "backup" || c->name == "forward") {
            const auto d = toNumber(c->childText("duration"));
            if (!d || *d <= 0 || *d * kDivisions / divisions_ > kMaxNoteLength) continue;
            const double length = snapped(*d * kDivisions / divisions_);
            cursor_ = c->name == "forward" ? cursor_ + length : std::max(0.0, cursor_ - length);
            furthest_ = std::max(furthest_, cursor_);
        } else if (c->name == "direction") {
            readDirection(*c);
        } else if (c->name == "sound") {
            readSound(*c);
        } else if (c->name == "harmony") {
            std::string t = harmonyText(*c, report_);
            const double offset = toNumber(c->childText("offset")).value_or(0);
            if (!t.empty()) texts_.push_back({cursor_ + offset * kDivisions / divisions_, t});
        }
    }
    // The voice lasts as long as the measure's music does.
    fillTo(furthest_);
    flush();
    placeChords();
}

// Each text of the measure on the voice's note or rest sounding at its time.
void Importer::placeChords() {
    if (events_.empty()) {
        for (TimedText& t : texts_) carried_.push_back(std::move(t.text));
        return;
    }
    for (std::string& t : carried_) placed_.push_back({events_.front().cell, std::move(t)});
    carried_.clear();
    for (TimedText& t : texts_) {
        // The last event starting at or before the text's time (events come in time order).
        const auto after =
            std::upper_bound(events_.begin(), events_.end(), t.time + kEps,
                             [](double time, const Event& e) { return time < e.start; });
        const std::size_t cell = (after == events_.begin() ? after : after - 1)->cell;
        placed_.push_back({cell, std::move(t.text)});
    }
}

// One text per staff line: each chord symbol or text at the column of its cell, padded with
// blanks; one that finds its column taken stands after the text before it.
std::vector<std::string> Importer::chordLines() {
    const auto& cells = result_.score.musicData;
    if (!carried_.empty()) {
        const std::size_t last = cells.empty() ? 0 : cells.size() - 1;
        for (std::string& t : carried_) placed_.push_back({last, std::move(t)});
    }
    std::stable_sort(placed_.begin(), placed_.end(),
                     [](const PlacedText& a, const PlacedText& b) { return a.cell < b.cell; });
    const auto perLine = static_cast<std::size_t>(kCellsPerLine);
    std::vector<std::string> lines((cells.size() + perLine - 1) / perLine);
    for (const PlacedText& p : placed_) {
        const std::size_t line = p.cell / perLine;
        if (lines.size() <= line) lines.resize(line + 1);
        std::string& text = lines[line];
        std::size_t column = p.cell % perLine;
        if (!text.empty() && column < text.size() + 1) {
            column = text.size() + 1;
            report_.add("Chord symbols and texts that found their column taken were moved right");
        }
        // A chord line as typing would take it: symbols past the limit are left out.
        if (countCharacters(text) + (column - text.size()) + countCharacters(p.text) >
            kMaxChordLineChars) {
            report_.add("Chord symbols beyond " + std::to_string(kMaxChordLineChars) +
                        " characters on a line were dropped");
            continue;
        }
        text.append(column - text.size(), ' ');
        text += p.text;
    }
    return lines;
}

void Importer::chooseSettings() {
    ScoreSettings& set = result_.score.settings;
    std::vector<std::string>& notes = result_.notes;
    set.imageSet = 0;
    set.tempo = nearestItem(tempoItems(), tempo_);
    if (set.tempoValue() != tempo_) {
        notes.push_back("The tempo " + std::to_string(tempo_) + " was set to " + set.tempoText() +
                        ", the nearest tempo a score offers.");
    }
    set.beat = nearestItem(beatItems(), beats_);
    if (set.beatValue() != beats_) {
        notes.push_back(std::to_string(beats_) +
                        (beats_ == 1 ? " beat to the bar was" : " beats to the bar were") +
                        " set to " + set.beatText() + ", the nearest a score offers.");
    }
    set.key = 0;
    for (std::size_t i = 0; i < inKeyItems().size(); ++i) {
        if (inKeyItems()[i] == key_) set.key = static_cast<std::int64_t>(i);
    }
}

MusicXmlImport Importer::run(const Node& root) {
    Score& s = result_.score;
    s.musicData.clear();
    s.codeData.clear();
    std::string& title = result_.title;
    if (const Node* work = root.child("work"))
        title = std::string(trimmed(work->childText("work-title")));
    if (title.empty()) title = std::string(trimmed(root.childText("movement-title")));
    if (const Node* id = root.child("identification")) {
        if (const Node* misc = id->child("miscellaneous")) {
            for (const auto& f : misc->children) {
                if (f->name == "miscellaneous-field" && f->attr("name") == "reference-pitch") {
                    if (auto hz = toInt(f->text); hz && *hz >= 1 && *hz <= 100000)
                        s.settings.referencePitch = *hz;
                }
            }
        }
    }
    std::vector<const Node*> parts;
    for (const auto& c : root.children) {
        if (c->name == "part") parts.push_back(c.get());
    }
    if (parts.empty()) {
        result_.error = "The MusicXML score has no part.";
        return result_;
    }
    if (parts.size() > 1)
        report_.add("Parts after the first were dropped",
                    static_cast<std::int64_t>(parts.size() - 1));

    std::vector<const Node*> measures;
    for (const auto& c : parts.front()->children) {
        if (c->name == "measure") measures.push_back(c.get());
    }
    Barlines before;
    std::int64_t restyled = 0;
    for (std::size_t k = 0; k < measures.size() && !tooLong_; ++k) {
        const Barlines here = readBarlines(*measures[k], report_);
        if (k > 0) {
            if (before.backward) {
                pushMark(27);
            } else if (before.styled || !(here.forward || here.ending)) {
                pushMark(25);
            }
            restyled += before.restyled;
        }
        if (here.forward) pushMark(26);
        if (here.ending) pushMark(28);
        const std::string_view number = trimmed(measures[k]->attr("number"));
        bar_ = !number.empty() && number.size() <= 8 ? std::string(number) : std::to_string(k + 1);
        readMeasure(*measures[k]);
        before = here;
    }
    if (!measures.empty()) {
        if (before.backward) {
            pushMark(27);
        } else if (before.styled) {
            pushMark(25);
        }
        // A final bar is how a piece ends, not a style of its own.
        restyled += before.restyled && before.rightStyle != "light-heavy";
    }
    if (tooLong_) {
        result_ = {};
        result_.error = "The MusicXML score has more than " + std::to_string(kMaxImportedCells) +
                        " notes, more than a score can hold.";
        return result_;
    }
    if (restyled > 0) report_.add("Bar line styles were drawn as plain bar lines", restyled);
    if (clefs_ > 0) {
        report_.add("Clefs other than the treble clef were not kept (the notes keep their pitches)",
                    clefs_);
    }
    s.codeData = chordLines();
    result_.notes = report_.sentences();
    chooseSettings();
    result_.ok = true;
    return result_;
}

// Skips the prolog of an XML document: declaration, comments, processing instructions and the
// document type. Returns where the root element starts, or npos.
std::size_t rootElementAt(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
        if (text.substr(pos, 2) == "<?") {
            pos = text.find("?>", pos);
            if (pos != std::string_view::npos) pos += 2;
        } else if (text.substr(pos, 4) == "<!--") {
            pos = text.find("-->", pos);
            if (pos != std::string_view::npos) pos += 3;
        } else if (text.substr(pos, 2) == "<!") {
            const std::size_t bracket = text.find('[', pos), close = text.find('>', pos);
            pos = bracket < close ? text.find("]>", bracket) : close;
            if (pos != std::string_view::npos) pos += text[pos] == ']' ? 2 : 1;
        } else {
            return text.substr(pos, 1) == "<" ? pos : std::string_view::npos;
        }
    }
    return std::string_view::npos;
}

}  // namespace

MusicXmlKind recognizeMusicXml(std::string_view bytes) {
    if (isZipArchive(bytes)) {
        return isMusicXmlArchive(bytes) ? MusicXmlKind::Compressed : MusicXmlKind::None;
    }
    // The start of the text is enough; a UTF-16 text is looked at through its low bytes.
    std::string head(bytes.substr(0, 64 * 1024));
    if (head.size() >= 2 &&
        ((head[0] == '\xff' && head[1] == '\xfe') || (head[0] == '\xfe' && head[1] == '\xff'))) {
        std::string narrow;
        const std::size_t low = head[0] == '\xff' ? 0 : 1;
        for (std::size_t i = 2 + low; i < head.size(); i += 2) narrow += head[i];
        head = std::move(narrow);
    } else if (head.substr(0, 3) == "\xef\xbb\xbf") {
        head.erase(0, 3);
    }
    const std::size_t at = rootElementAt(head);
    if (at == std::string::npos) return MusicXmlKind::None;
    for (const std::string_view name : {"<score-partwise", "<score-timewise"}) {
        if (head.compare(at, name.size(), name) != 0) continue;
        const std::size_t after = at + name.size();
        if (after >= head.size() || head[after] == '>' || head[after] == '/' ||
            std::isspace(static_cast<unsigned char>(head[after]))) {
            return MusicXmlKind::Plain;
        }
    }
    return MusicXmlKind::None;
}

MusicXmlImport importMusicXml(std::string_view bytes) {
    MusicXmlImport failed;
    if (bytes.size() > kMaxMusicXmlBytes) {
        failed.error = "The file is too large to be a melody (more than " +
                       std::to_string(kMaxMusicXmlBytes / (1024 * 1024)) + " MB).";
        return failed;
    }
    std::string unpacked;
    if (isZipArchive(bytes)) {
        Result<std::string> root = readMusicXmlArchive(bytes);
        if (!root) {
            failed.error = root.reason();
            return failed;
        }
        unpacked = std::move(root).value();
        bytes = unpacked;
    }
    const XmlTree tree = parseXmlTree(bytes);
    if (tree.limitHit) {
        failed.error = "The file cannot be read as MusicXML: " + tree.error + ".";
        return failed;
    }
    if (tree.root == nullptr) {
        failed.error = "The file is not well-formed XML (" + tree.error + ").";
        return failed;
    }
    if (tree.root->name == "score-timewise") {
        failed.error = "Time-wise MusicXML cannot be read; please export it part-wise.";
        return failed;
    }
    if (tree.root->name != "score-partwise") {
        failed.error =
            "The file is not a MusicXML score (its root element is <" + tree.root->name + ">).";
        return failed;
    }
    return Importer().run(*tree.root);
}

}  // namespace sorvel::exchange
