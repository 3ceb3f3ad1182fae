#include "exchange/musicxml_import.h"

#include <expat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>

#include "exchange/musicxml_export.h"
#include "exchange/notation.h"
#include "model/notation_tables.h"
#include "model/note_values.h"
#include "model/score_file.h"

namespace sorvel::exchange {
namespace {

// A small element tree; MusicXML is read whole before it is interpreted.
struct Node {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attrs;
    std::string text;
    std::vector<std::unique_ptr<Node>> children;

    const Node* child(std::string_view n) const {
        for (const auto& c : children) {
            if (c->name == n) return c.get();
        }
        return nullptr;
    }
    std::string_view attr(std::string_view n) const {
        for (const auto& [k, v] : attrs) {
            if (k == n) return v;
        }
        return {};
    }
    bool hasAttr(std::string_view n) const {
        return std::any_of(attrs.begin(), attrs.end(), [&](const auto& a) { return a.first == n; });
    }
    std::string_view childText(std::string_view n) const {
        const Node* c = child(n);
        return c != nullptr ? std::string_view(c->text) : std::string_view();
    }
};

struct TreeBuilder {
    std::unique_ptr<Node> root;
    std::vector<Node*> stack;
    std::size_t elements = 0;
    std::string failure;
    XML_Parser parser = nullptr;

    void fail(std::string why) {
        if (failure.empty()) failure = std::move(why);
        XML_StopParser(parser, XML_FALSE);
    }
};

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attrs) {
    auto* b = static_cast<TreeBuilder*>(data);
    if (!b->failure.empty()) return;
    if (b->stack.size() >= kMaxXmlDepth) return b->fail("elements are nested too deeply");
    if (++b->elements > kMaxXmlElements) return b->fail("the file has too many elements");
    auto node = std::make_unique<Node>();
    node->name = name;
    for (std::size_t i = 0; attrs[i] != nullptr; i += 2)
        node->attrs.emplace_back(attrs[i], attrs[i + 1]);
    Node* raw = node.get();
    if (b->stack.empty()) {
        b->root = std::move(node);
    } else {
        b->stack.back()->children.push_back(std::move(node));
    }
    b->stack.push_back(raw);
}

void XMLCALL onEnd(void* data, const XML_Char*) {
    auto* b = static_cast<TreeBuilder*>(data);
    if (!b->stack.empty()) b->stack.pop_back();
}

void XMLCALL onText(void* data, const XML_Char* s, int len) {
    auto* b = static_cast<TreeBuilder*>(data);
    if (b->stack.empty() || !b->failure.empty()) return;
    Node* n = b->stack.back();
    // Only leaf text matters; whitespace between child elements is not kept.
    if (n->children.empty()) n->text.append(s, static_cast<std::size_t>(len));
}

void XMLCALL onEntityDecl(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                          const XML_Char*, const XML_Char*, const XML_Char*) {
    static_cast<TreeBuilder*>(data)->fail("the file declares entities, which are not accepted");
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::optional<std::int64_t> toInt(std::string_view s) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    std::int64_t v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || s.empty()) return std::nullopt;
    return v;
}

// A decimal such as "120" or "-1.0", rounded; nothing for anything else.
std::optional<double> toNumber(std::string_view s) {
    s = trim(s);
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

// Counts of what was dropped or changed, turned into sentences at the end.
struct Losses {
    std::map<std::string, std::int64_t> counts;
    std::vector<std::string> order;
    void add(const std::string& what, std::int64_t n = 1) {
        if (counts.find(what) == counts.end()) order.push_back(what);
        counts[what] += n;
    }
    std::vector<std::string> sentences() const {
        std::vector<std::string> out;
        for (const auto& what : order)
            out.push_back(what + ": " + std::to_string(counts.at(what)) + ".");
        return out;
    }
};

struct Barlines {
    bool forward = false, ending = false, backward = false, styled = false;
};

Barlines readBarlines(const Node& measure, Losses& losses) {
    Barlines b;
    for (const auto& c : measure.children) {
        if (c->name != "barline") continue;
        const std::string_view loc = c->hasAttr("location") ? c->attr("location") : "right";
        if (const Node* r = c->child("repeat")) {
            if (r->attr("direction") == "forward" && loc == "left") b.forward = true;
            if (r->attr("direction") == "backward" && loc == "right") b.backward = true;
        }
        if (const Node* e = c->child("ending"); e != nullptr && e->attr("type") == "start") {
            if (trim(e->attr("number")) == "1") {
                b.ending = true;
            } else {
                losses.add("Endings other than the first were dropped (their notes are kept)");
            }
        }
        if (loc == "right" && c->child("bar-style") != nullptr) b.styled = true;
    }
    return b;
}

// Closest note value of the kind by length; exact lengths keep their value.
std::int64_t nearestValue(std::int64_t divs48, bool rest, bool alternate) {
    std::int64_t best = -1, bestGap = 0;
    for (std::int64_t v = 1; v < sorvel::kValueCount; ++v) {
        const NoteValue& n = noteValue(v);
        if (n.form == NoteForm::Tied || secondFamily(v) != alternate) continue;
        if (n.kind != (rest ? NoteKind::Rest : NoteKind::Note)) continue;
        const std::int64_t gap = std::abs(divisionsOf(v) - divs48);
        if (best < 0 || gap < bestGap) {
            best = v;
            bestGap = gap;
        }
    }
    return best;
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

std::string harmonyToken(const Node& h, Losses& losses) {
    const Node* root = h.child("root");
    if (root == nullptr) {
        losses.add("Chord symbols without a root (functions, numerals) were dropped");
        return {};
    }
    const std::string_view step = trim(root->childText("root-step"));
    if (step.size() != 1 || step[0] < 'A' || step[0] > 'G') {
        losses.add("Chord symbols with an unreadable root were dropped");
        return {};
    }
    ChordSymbol c;
    c.rootStep = step[0];
    c.rootAlter =
        static_cast<int>(std::lround(toNumber(root->childText("root-alter")).value_or(0)));
    const Node* kind = h.child("kind");
    const std::string_view kindValue = kind != nullptr ? trim(kind->text) : "major";
    if (kind != nullptr && kind->hasAttr("text")) {
        c.suffix = std::string(kind->attr("text"));
    } else if (auto s = suffixOfKind(kindValue)) {
        c.suffix = *s;
    } else {
        c.suffix = std::string(kindValue);
        losses.add("Chord kinds we have no symbol for were written by name");
    }
    if (kindValue == "none") return kind != nullptr && kind->hasAttr("text") ? c.suffix : "N.C.";
    if (const Node* bass = h.child("bass")) {
        const std::string_view bstep = trim(bass->childText("bass-step"));
        if (bstep.size() == 1 && bstep[0] >= 'A' && bstep[0] <= 'G') {
            c.bassStep = bstep[0];
            c.bassAlter =
                static_cast<int>(std::lround(toNumber(bass->childText("bass-alter")).value_or(0)));
        }
    }
    if (std::abs(c.rootAlter) > 1 || std::abs(c.bassAlter) > 1) {
        losses.add("Double sharps and flats in chord roots were written as single ones");
        c.rootAlter = std::clamp(c.rootAlter, -1, 1);
        c.bassAlter = std::clamp(c.bassAlter, -1, 1);
    }
    return chordText(c);
}

class Importer {
  public:
    MusicXmlImport run(const Node& root);

  private:
    void readMeasure(const Node& measure);
    void readNote(const Node& note);
    void readDirection(const Node& direction);
    void readSound(const Node& sound);
    void pushCell(std::int64_t pitch, std::int64_t value);
    void pushMark(std::int64_t value) { pushCell(kRestPitch, value); }

    // The score's settings as the file gives them, before they become the window's choices.
    void chooseSettings();

    MusicXmlImport result_;
    Losses losses_;
    std::int64_t tempo_ = 120, beats_ = 4;
    std::string key_ = "C";
    std::int64_t divisions_ = 1;
    bool haveVoice_ = false;
    std::string voice_;
    bool haveTime_ = false, haveTempo_ = false, haveTranspose_ = false;
    bool tupletBelow_ = false;
    std::vector<std::string> pendingChords_;
    std::vector<std::vector<std::string>> lines_;
    bool tooLong_ = false;
};

void Importer::pushCell(std::int64_t pitch, std::int64_t value) {
    auto& cells = result_.score.musicData;
    if (cells.size() >= kMaxImportedCells) {
        tooLong_ = true;
        return;
    }
    // A timed cell: the chord symbols met since the last one stand on its staff line.
    const NoteKind kind = noteValue(value).kind;
    if ((kind == NoteKind::Note || kind == NoteKind::Rest) && !pendingChords_.empty()) {
        const std::size_t line = cells.size() / 40;
        if (lines_.size() <= line) lines_.resize(line + 1);
        for (auto& t : pendingChords_) lines_[line].push_back(std::move(t));
        pendingChords_.clear();
    }
    cells.push_back({pitch, value});
}

void Importer::readSound(const Node& sound) {
    if (!sound.hasAttr("tempo")) return;
    if (auto t = toNumber(sound.attr("tempo")); t && *t >= 1 && *t <= 10000) {
        if (!haveTempo_) {
            tempo_ = std::llround(*t);
            haveTempo_ = true;
        } else if (std::llround(*t) != tempo_) {
            losses_.add("Tempo changes after the first tempo were dropped");
        }
    }
}

void Importer::readDirection(const Node& direction) {
    for (const auto& dt : direction.children) {
        if (dt->name == "sound") readSound(*dt);
        if (dt->name != "direction-type") continue;
        for (const auto& item : dt->children) {
            if (item->name == "words") {
                // A chord line is words separated by blanks: a text keeps its words in order.
                std::string_view w = item->text;
                while (!(w = trim(w)).empty()) {
                    std::size_t end = 0;
                    while (end < w.size() && !std::isspace(static_cast<unsigned char>(w[end])))
                        ++end;
                    pendingChords_.emplace_back(w.substr(0, end));
                    w.remove_prefix(end);
                }
            } else if (item->name == "metronome") {
                const auto pm = toNumber(item->childText("per-minute"));
                if (pm && *pm >= 1 && *pm <= 10000) {
                    double perMinute = *pm;
                    const int size = sizeOfType(trim(item->childText("beat-unit")));
                    if (size >= 0) perMinute *= std::pow(2.0, 2 - size);
                    if (item->child("beat-unit-dot") != nullptr) perMinute *= 1.5;
                    const std::int64_t tempo = std::max<std::int64_t>(1, std::llround(perMinute));
                    if (!haveTempo_) {
                        tempo_ = tempo;
                        haveTempo_ = true;
                    } else if (tempo != tempo_) {
                        losses_.add("Tempo changes after the first tempo were dropped");
                    }
                }
            } else {
                losses_.add("Dynamics and other directions were dropped");
            }
        }
    }
}

void Importer::readNote(const Node& note) {
    if (note.child("grace") != nullptr) return losses_.add("Grace notes were dropped");
    if (note.child("cue") != nullptr) return losses_.add("Cue notes were dropped");
    const std::string voice(trim(note.childText("voice")));
    if (!haveVoice_) {
        haveVoice_ = true;
        voice_ = voice;
    } else if (voice != voice_) {
        return losses_.add("Notes of other voices were dropped");
    }
    if (note.child("chord") != nullptr) {
        return losses_.add("Chord notes beyond the first note of a chord were dropped");
    }
    const bool rest = note.child("rest") != nullptr;
    const Node* pitchNode = note.child("pitch");
    if (!rest && pitchNode == nullptr) {
        return losses_.add("Unpitched notes were dropped");
    }

    // The note value: the written type first, the duration when there is no usable type.
    const NoteKind kind = rest ? NoteKind::Rest : NoteKind::Note;
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
                losses_.add("Slurs, articulations and other note markings were dropped");
            }
        }
    }
    if (note.child("lyric") != nullptr) losses_.add("Lyrics were dropped");
    const bool alternate = rest ? tupletBelow_ : trim(note.childText("stem")) == "down";
    std::int64_t dots = 0;
    for (const auto& c : note.children) dots += c->name == "dot";
    const Node* tm = note.child("time-modification");
    const auto actual = tm ? toInt(tm->childText("actual-notes")) : std::nullopt;
    const auto normal = tm ? toInt(tm->childText("normal-notes")) : std::nullopt;
    const bool plainTime = tm == nullptr || (actual && normal && *actual == *normal);
    const bool triplet = tm != nullptr && actual == 3 && normal == 2;
    const bool dotted = dots == 1;
    const int size = sizeOfType(trim(note.childText("type")));
    std::optional<std::int64_t> value;
    if (size >= 0 && dots <= 1 && (plainTime || triplet) && !(dotted && triplet)) {
        const NoteForm form =
            triplet ? NoteForm::Triplet : (dotted ? NoteForm::Dotted : NoteForm::Plain);
        value = writtenValue(kind, size, form, alternate);
    }
    if (value && tieStart && !rest) {
        // A tie can follow only a plain note.
        const auto tied =
            dotted || triplet ? std::nullopt : writtenValue(kind, size, NoteForm::Tied, alternate);
        if (tied) {
            value = tied;
        } else {
            losses_.add("Ties after dotted or triplet notes were dropped (the notes sound apart)");
        }
    }
    if (!value) {
        const auto dur = toNumber(note.childText("duration"));
        if (!dur || *dur <= 0 || divisions_ <= 0) {
            return losses_.add("Notes without a readable value were dropped");
        }
        const std::int64_t divs48 =
            std::llround(*dur * kDivisions / static_cast<double>(divisions_));
        value = nearestValue(divs48, rest, alternate);
        if (divisionsOf(*value) != divs48) {
            losses_.add("Note values we have no cell for were replaced by the nearest value");
        }
    }

    std::int64_t pitch = kRestPitch;
    if (rest) {
        const std::string_view ds = trim(note.child("rest")->childText("display-step"));
        const auto dov = toInt(note.child("rest")->childText("display-octave"));
        if (ds.size() == 1 && dov) {
            if (auto i = pitchIndexOf({ds[0], 0, *dov})) pitch = *i;
        }
    } else {
        const std::string_view step = trim(pitchNode->childText("step"));
        const auto octave = toInt(pitchNode->childText("octave"));
        const auto alterNum = toNumber(pitchNode->childText("alter"));
        if (step.size() != 1 || step[0] < 'A' || step[0] > 'G' || !octave || *octave < -10 ||
            *octave > 20) {
            return losses_.add("Notes with an unreadable pitch were dropped");
        }
        const double alter = alterNum.value_or(0.0);
        if (alter != std::round(alter)) losses_.add("Microtonal alterations were rounded");
        const SpelledPitch sp{step[0], std::llround(alter), *octave};
        if (auto i = pitchIndexOf(sp)) {
            pitch = *i;
        } else {
            std::int64_t midi = sp.midi();
            const std::int64_t low = spellPitch(0).midi(), high = spellPitch(38).midi();
            if (midi < low || midi > high) {
                while (midi < low) midi += 12;
                while (midi > high) midi -= 12;
                losses_.add("Pitches outside A0..C2 were moved by octaves into the range");
            } else {
                losses_.add("Pitches with a spelling we do not have were respelled");
            }
            pitch = naturalFirstIndexOfMidi(midi);
        }
    }
    if (const Node* n = note.child("notations")) {
        for (const auto& c : n->children) {
            if (c->name == "tuplet" && c->attr("type") == "stop") {
                pushCell(pitch, *value);
                tupletBelow_ = false;
                return;
            }
        }
    }
    pushCell(pitch, *value);
}

void Importer::readMeasure(const Node& measure) {
    for (const auto& c : measure.children) {
        if (tooLong_) return;
        if (c->name == "attributes") {
            if (auto dv = toNumber(c->childText("divisions")); dv && *dv >= 1 && *dv <= 1e7) {
                divisions_ = std::llround(*dv);
            }
            if (const Node* t = c->child("time")) {
                const auto beats = toInt(t->childText("beats"));
                const auto type = toInt(t->childText("beat-type"));
                if (beats && type && *beats >= 1 && *beats <= 64 && *type >= 1) {
                    const std::int64_t quarters = *beats * 4 / *type;
                    if (!haveTime_) {
                        beats_ = std::max<std::int64_t>(1, quarters);
                        if (*beats * 4 % *type != 0) {
                            losses_.add(
                                "A time signature not counted in quarter notes was rounded");
                        }
                        haveTime_ = true;
                    } else if (quarters != beats_) {
                        losses_.add("Time signature changes were dropped");
                    }
                }
            }
            if (const Node* tr = c->child("transpose"); tr != nullptr && !haveTranspose_) {
                haveTranspose_ = true;
                const auto chromatic = toInt(tr->childText("chromatic")).value_or(0) +
                                       12 * toInt(tr->childText("octave-change")).value_or(0);
                if (chromatic == -2) {
                    key_ = "Bb";
                } else if (chromatic == 3) {
                    key_ = "Eb";
                } else if (chromatic != 0) {
                    losses_.add("Transpositions other than Bb and Eb were dropped");
                }
            }
        } else if (c->name == "note") {
            readNote(*c);
        } else if (c->name == "direction") {
            readDirection(*c);
        } else if (c->name == "sound") {
            readSound(*c);
        } else if (c->name == "harmony") {
            std::string t = harmonyToken(*c, losses_);
            if (!t.empty()) pendingChords_.push_back(std::move(t));
        } else if (c->name == "forward") {
            losses_.add("Hidden spaces between notes were dropped");
        }
    }
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
        notes.push_back(std::to_string(beats_) + " beats to the bar were set to " + set.beatText() +
                        ", the nearest a score offers.");
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
        title = std::string(trim(work->childText("work-title")));
    if (title.empty()) title = std::string(trim(root.childText("movement-title")));
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
        losses_.add("Parts after the first were dropped",
                    static_cast<std::int64_t>(parts.size() - 1));

    std::vector<const Node*> measures;
    for (const auto& c : parts.front()->children) {
        if (c->name == "measure") measures.push_back(c.get());
    }
    Barlines before;
    for (std::size_t k = 0; k < measures.size() && !tooLong_; ++k) {
        const Barlines here = readBarlines(*measures[k], losses_);
        if (k > 0) {
            if (before.backward) {
                pushMark(27);
            } else if (before.styled || !(here.forward || here.ending)) {
                pushMark(25);
            }
        }
        if (here.forward) pushMark(26);
        if (here.ending) pushMark(28);
        readMeasure(*measures[k]);
        before = here;
    }
    if (!measures.empty()) {
        if (before.backward) {
            pushMark(27);
        } else if (before.styled) {
            pushMark(25);
        }
    }
    if (tooLong_) {
        result_ = {};
        result_.error = "The MusicXML score has more than " + std::to_string(kMaxImportedCells) +
                        " notes, more than a score can hold.";
        return result_;
    }
    if (!pendingChords_.empty()) {
        const std::size_t line = s.musicData.empty() ? 0 : (s.musicData.size() - 1) / 40;
        if (lines_.size() <= line) lines_.resize(line + 1);
        for (auto& t : pendingChords_) lines_[line].push_back(std::move(t));
    }
    const std::size_t pages = (s.musicData.size() + 39) / 40;
    lines_.resize(std::max(lines_.size(), pages));
    for (const auto& tokens : lines_) {
        std::string line;
        std::size_t chars = 0;
        for (const auto& t : tokens) {
            // A chord line as typing would take it: symbols past the limit are left out.
            const std::size_t more = (line.empty() ? 0 : 1) + countCharacters(t);
            if (chars + more > kMaxChordLineChars) {
                losses_.add("Chord symbols beyond " + std::to_string(kMaxChordLineChars) +
                            " characters on a line were dropped");
                break;
            }
            line += (line.empty() ? "" : " ") + t;
            chars += more;
        }
        s.codeData.push_back(line);
    }
    result_.notes = losses_.sentences();
    chooseSettings();
    result_.ok = true;
    return result_;
}

}  // namespace

MusicXmlImport importMusicXml(std::string_view text) {
    MusicXmlImport failed;
    if (text.size() > kMaxMusicXmlBytes) {
        failed.error = "The file is too large to be a melody (more than " +
                       std::to_string(kMaxMusicXmlBytes / (1024 * 1024)) + " MB).";
        return failed;
    }
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 'P' && text[1] == 'K') {
        failed.error = "Compressed MusicXML (.mxl) cannot be read; please export it uncompressed.";
        return failed;
    }
    TreeBuilder b;
    b.parser = XML_ParserCreate(nullptr);
    if (b.parser == nullptr) {
        failed.error = "Out of memory while reading the file.";
        return failed;
    }
    std::unique_ptr<std::remove_pointer_t<XML_Parser>, void (*)(XML_Parser)> guard(b.parser,
                                                                                   XML_ParserFree);
    XML_SetUserData(b.parser, &b);
    XML_SetElementHandler(b.parser, onStart, onEnd);
    XML_SetCharacterDataHandler(b.parser, onText);
    XML_SetEntityDeclHandler(b.parser, onEntityDecl);
    XML_SetParamEntityParsing(b.parser, XML_PARAM_ENTITY_PARSING_NEVER);
    const auto status = XML_Parse(b.parser, text.data(), static_cast<int>(text.size()), XML_TRUE);
    if (!b.failure.empty()) {
        failed.error = "The file cannot be read as MusicXML: " + b.failure + ".";
        return failed;
    }
    if (status != XML_STATUS_OK || b.root == nullptr) {
        failed.error = "The file is not well-formed XML (line " +
                       std::to_string(XML_GetCurrentLineNumber(b.parser)) + ": " +
                       XML_ErrorString(XML_GetErrorCode(b.parser)) + ").";
        return failed;
    }
    if (b.root->name == "score-timewise") {
        failed.error = "Time-wise MusicXML cannot be read; please export it part-wise.";
        return failed;
    }
    if (b.root->name != "score-partwise") {
        failed.error =
            "The file is not a MusicXML score (its root element is <" + b.root->name + ">).";
        return failed;
    }
    return Importer().run(*b.root);
}

}  // namespace sorvel::exchange
