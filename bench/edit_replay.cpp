// Replays long random edit sequences on a score window's document and writes down everything
// they leave behind: the diagnostic lines, after each step the window's state (selection,
// page, pointer, entry cell, chord fields, staff marks, settings), every so often the saved
// file, and at the end the saved file, the three exports and the play list. A change of the core's
// shape that means to change no behaviour is checked by running this before and after and comparing
// the files.
//
//   edit_replay SEED STEPS PREFIX    writes PREFIX.trace, .txt, .musicxml, .mid and .wav
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/clipboard_commands.h"
#include "app/document.h"
#include "app/exchange_file.h"
#include "app/replace.h"
#include "edit/undo_history.h"
#include "model/diagnostics.h"
#include "model/score_file.h"
#include "ports/alerts.h"
#include "ports/clipboard.h"
#include "sound/score_player.h"
#include "view/key_codes.h"
#include "view/key_dispatch.h"

namespace {

using namespace sorvel;

// ---- How this core's document is driven ----------------------------------------------------

struct Window {
    explicit Window(UndoHistory& undo) : doc(&undo), keys(doc) {}
    Document doc;
    winCTL keys;
};

void layOut(Document& doc) {
    doc.windowControllerDidLoadNib(
        {{44, 26, 1200, 140}, {44, 198, 1200, 140}, {44, 370, 1200, 140}, {0, 0, 60, 140}}, "");
}
void typeChordField(Document& doc, std::size_t field, const std::string& text) {
    doc.setChordField(field, text);
}
void setWithCode(Document& doc, bool on) {
    doc.setWithCode(on);
}
std::string saved(Document& doc) {
    return scoreFileText(doc.snapshot().score);
}
std::string exported(Document& doc, exchange::ExportFormat format) {
    const ScoreSnapshot snapshot = doc.snapshot();
    const Result<std::string> bytes =
        exchange::exportBytes(snapshot.score, format, "replay.txt", snapshot.freqArr);
    return bytes ? bytes.value() : "failed: " + bytes.reason();
}
PlayRequest playRequest(const Document& doc, bool exercise) {
    return doc.playRequest(exercise);
}
EditableScore& cellTarget(Document& doc) {
    return doc;
}
void appendPhrase(Document& doc, const std::vector<ScoreCell>& cells) {
    doc.appendCells(cells);
}
std::string state(const Document& doc) {
    const StaffPages& pages = doc.pages();
    const Selection s = pages.selection();
    const Rect p = pages.pointer();
    const ScoreCell e = doc.entry().cell();
    const ScoreSettings& set = doc.score().settings;
    std::ostringstream out;
    out << s.row << ',' << s.column << '-' << s.rowTo << ',' << s.columnTo << " P"
        << pages.topPage() << '/' << pages.pageCount() << " @" << pages.startCell() << " e"
        << e.noteIndex << ',' << e.onpIndex << " L" << doc.entry().staff().selLocate << " ptr"
        << p.x << ',' << p.y << ',' << p.width << ',' << p.height << " hz'"
        << doc.sound().referenceText() << "' w" << doc.withCode() << " set" << set.imageSet << ','
        << set.tempo << ',' << set.key << ',' << set.beat << ',' << set.referencePitch << " img'"
        << doc.imageSet() << "' n" << doc.score().cellCount() << " t" << doc.sound().table()[17];
    for (std::int64_t row = 1; row <= 3; ++row) {
        const GosenView& v = pages.staff(row);
        out << " s" << v.selRow << ',' << v.selCol << ',' << v.selColTo << ',' << v.selectedCell
            << ',' << v.firstCell();
    }
    for (const std::string& f : pages.chordFields()) out << " |" << f;
    return out.str();
}

// ---- The same for every core --------------------------------------------------------------

// A clipboard of this process only.
class MemoryClipboard : public Clipboard {
  public:
    std::optional<std::string> plainText() const override { return text_; }
    bool hasPlainText() const override { return text_.has_value(); }
    bool isEmpty() const override { return !text_ && !cells_; }
    void setPlainText(const std::string& t) override {
        text_ = t;
        cells_.reset();
    }
    std::optional<std::string> cellData() const override { return cells_; }
    void setCellData(const std::string& bytes) override {
        cells_ = bytes;
        text_.reset();
    }

  private:
    std::optional<std::string> text_, cells_;
};

class SilentAlerts : public Alerts {
  public:
    void showAlert(const std::string& text, const std::string& info) override {
        lines.push_back("alert " + text + " / " + info);
    }
    std::vector<std::string> lines;
};

// A clock that never fires and an output that takes nothing: the player builds its list only.
class StillClock : public Clock {
  public:
    double now() const override { return 0.0; }
    TimerId schedule(double, std::function<void()>) override { return 1; }
    void cancel(TimerId) override {}
};
class NoOutput : public AudioOutput {
  public:
    PcmFormat outputFormat() const override { return {8000.0, 1}; }
    void connect(const PcmFormat&) override {}
    void scheduleBuffer(PcmBuffer) override {}
    std::optional<std::string> start() override { return std::nullopt; }
    void play() override {}
};
class NoteListener : public PlaybackListener {
  public:
    void setPlayButtonTitle(std::string_view) override {}
    void showEndAlert(std::string_view) override {}
    void showPlaybackMessage(std::string_view text) override { message = text; }
    std::string message;
};

std::string playList(const Document& doc, bool exercise) {
    StillClock clock;
    NoOutput output;
    NoteListener listener;
    ScorePlayer player(output, clock, listener);
    player.playAll(playRequest(doc, exercise));
    std::ostringstream out;
    out << "play '" << listener.message << "' " << player.playTempo() << ':';
    for (const PlayEntry& e : player.playMusicData()) out << ' ' << e.frequency << '/' << e.seconds;
    return out.str();
}

std::string hexDigest(const std::string& bytes) {
    // FNV-1a: enough to tell two saves apart in the trace.
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
    return buf;
}

const std::int64_t kKeys[] = {
    mac_key::A,         mac_key::S,           mac_key::D,
    mac_key::F,         mac_key::G,           mac_key::H,
    mac_key::J,         mac_key::K,           mac_key::L,
    mac_key::Semicolon, mac_key::W,           mac_key::R,
    mac_key::T,         mac_key::U,           mac_key::I,
    mac_key::O,         mac_key::LeftBracket, mac_key::Quote,
    mac_key::Digit1,    mac_key::Digit2,      mac_key::Digit3,
    mac_key::Digit4,    mac_key::Digit5,      mac_key::Digit6,
    mac_key::Digit0,    mac_key::Period,      mac_key::Minus,
    mac_key::Equal,     mac_key::Grave,       mac_key::JisYen,
    mac_key::Digit9,    mac_key::Digit8,      mac_key::Backslash,
    mac_key::UpArrow,   mac_key::DownArrow,   mac_key::RightBracket,
    mac_key::LeftArrow, mac_key::RightArrow,  mac_key::Return,
    mac_key::Slash,     mac_key::Comma,       mac_key::JisUnderscore,
    mac_key::Delete,    mac_key::Escape,      mac_key::Space,
    mac_key::Z,
};

const char* const kChordTexts[] = {"C G7 Am/E", "", "Bbmaj7 F#m7b5", "Dm7\nG7", "  ", "Ebm Ab7"};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: edit_replay SEED STEPS PREFIX\n");
        return 2;
    }
    const unsigned seed = static_cast<unsigned>(std::stoul(argv[1]));
    const long steps = std::stol(argv[2]);
    const std::string prefix = argv[3];
    std::ofstream trace(prefix + ".trace", std::ios::binary);
    // The diagnostic lines are part of the behaviour compared.
    setDiagnosticSink([&trace](std::string_view line) { trace << "  " << line << '\n'; });

    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<std::int64_t>(rng() % static_cast<unsigned>(n)); };
    UndoHistory undo;
    Window w(undo);
    layOut(w.doc);
    w.doc.setImageSets({"animals", "birds", "names"});
    w.doc.chooseImageSet(pick(4) - 1);

    MemoryClipboard clipboard;
    SilentAlerts alerts;
    ClipboardCommands clip(clipboard, alerts);
    PitchReplacer replacer;

    for (long step = 0; step < steps; ++step) {
        const std::int64_t op = pick(100);
        std::string what;
        if (op < 40) {
            const std::int64_t key = kKeys[pick(static_cast<int>(std::size(kKeys)))];
            const KeyModifiers mods{pick(4) == 0, false, false, false};
            const FocusKind focus = pick(20) == 0 ? FocusKind::TextField : FocusKind::Window;
            what = "key " + std::to_string(key) + (mods.shift ? "S" : "");
            w.keys.keyDown(key, mods);
            w.keys.keyUp(key, mods, focus);
        } else if (op < 52) {
            const std::int64_t row = pick(4), column = pick(43), shift = pick(3) == 0;
            what = "click " + std::to_string(row) + "," + std::to_string(column);
            w.keys.staffMouseUp(row, column, shift);
        } else if (op < 57) {
            const std::int64_t k = pick(4);
            what = "button " + std::to_string(k);
            if (k == 0) w.doc.btnIns();
            if (k == 1) w.doc.btnADD();
            if (k == 2) w.doc.btnDel();
            if (k == 3) w.doc.btnUPDate();
        } else if (op < 61) {
            what = "entry";
            const std::int64_t k = pick(4);
            if (k == 0) w.doc.stepEntryPitch(pick(6));
            if (k == 1) w.doc.setEntryValue(pick(4), pick(7));
            if (k == 2) w.doc.toggleTriplet();
            if (k == 3) w.doc.toggleTie();
        } else if (op < 67) {
            what = "page";
            pick(2) ? w.doc.btnPageUp() : w.doc.btnPageDown();
        } else if (op < 70) {
            what = "transpose";
            setWithCode(w.doc, pick(2));
            w.doc.btnAllUpDown(pick(2));
        } else if (op < 75) {
            what = "chord";
            typeChordField(w.doc, static_cast<std::size_t>(pick(3)), kChordTexts[pick(6)]);
            if (pick(2)) w.doc.controlTextDidEndEditing();
        } else if (op < 83) {
            what = "undo";
            pick(3) ? undo.undo() : undo.redo();
        } else if (op < 89) {
            what = "setting";
            const std::int64_t k = pick(6);
            // Mostly a choice the list has; now and then none, or one past its end.
            const std::int64_t index = pick(12) == 0 ? 10 - 11 * pick(2) : pick(3);
            if (k == 0) w.doc.chooseTempo(index);
            if (k == 1) w.doc.chooseKey(index);
            if (k == 2) w.doc.chooseBeat(index);
            if (k == 3) {
                w.doc.chooseImageSet(index);
                w.doc.cmbImage();
            }
            if (k == 4) w.doc.setReferencePitchText(std::to_string(400 + pick(60)));
            if (k == 5) w.doc.chgFreq();
        } else if (op < 94) {
            const ClipAction action = static_cast<ClipAction>(pick(4));
            what = "clip " + std::to_string(static_cast<int>(action));
            clip.perform(action, {ClipFocus::Score, nullptr, &cellTarget(w.doc)});
        } else if (op < 96) {
            what = "replace";
            replacer.btnUpDwn1(pick(5));
            replacer.btnUpDwn2(pick(5));
            replacer.btnReplace(cellTarget(w.doc));
        } else if (op < 98) {
            what = "phrase";
            std::vector<ScoreCell> cells;
            for (std::int64_t i = pick(60); i > 0; --i) cells.push_back({pick(39), 1 + pick(64)});
            appendPhrase(w.doc, cells);
        } else {
            what = "save";
            trace << "save " << hexDigest(saved(w.doc)) << '\n';
        }
        trace << step << ' ' << what << " : " << state(w.doc) << '\n';
        if (step % 500 == 499) trace << playList(w.doc, pick(2)) << '\n';
    }
    for (const std::string& line : alerts.lines) trace << line << '\n';
    trace << playList(w.doc, false) << '\n';

    const std::pair<const char*, std::string> files[] = {
        {".txt", saved(w.doc)},
        {".musicxml", exported(w.doc, exchange::ExportFormat::MusicXml)},
        {".mid", exported(w.doc, exchange::ExportFormat::Midi)},
        {".wav", exported(w.doc, exchange::ExportFormat::Wav)},
    };
    for (const auto& [ext, bytes] : files) std::ofstream(prefix + ext, std::ios::binary) << bytes;
    std::printf("%s: %zu cells\n", prefix.c_str(), w.doc.score().musicData.size());
    return 0;
}
