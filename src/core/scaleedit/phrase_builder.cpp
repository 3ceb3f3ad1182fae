#include "scaleedit/phrase_builder.h"

#include <utility>

#include "model/diagnostics.h"
#include "ports/alerts.h"
#include "scaleedit/phrase_score.h"

namespace sorvel {
namespace phrase {
namespace {

struct NameValue {
    std::string_view name;
    std::int64_t value;
};

// clang-format off
constexpr std::array<NameValue, 35> kSemitoneOf = {{
    {"00", -99},
    {"C0", 0}, {"C0#", 1}, {"D0b", 1}, {"D0", 2}, {"D0#", 3}, {"E0b", 3}, {"E0", 4},
    {"F0", 5}, {"F0#", 6}, {"G0b", 6}, {"G0", 7}, {"G0#", 8}, {"A0b", 8}, {"A0", 9},
    {"A0#", 10}, {"B0b", 10}, {"B0", 11},
    {"C1", 12}, {"C1#", 13}, {"D1b", 13}, {"D1", 14}, {"D1#", 15}, {"E1b", 15}, {"E1", 16},
    {"F1", 17}, {"F1#", 18}, {"G1b", 18}, {"G1", 19}, {"G1#", 20}, {"A1b", 20}, {"A1", 21},
    {"A1#", 22}, {"B1b", 22}, {"B1", 23}}};

constexpr std::array<NameValue, 38> kPitchOf = {{
    {"00", 17}, {"01", 17}, {"02", 17},
    {"C0", 4}, {"C0#", 5}, {"D0b", 6}, {"D0", 7}, {"D0#", 8}, {"E0b", 9}, {"E0", 10},
    {"F0", 11}, {"F0#", 12}, {"G0b", 13}, {"G0", 14}, {"G0#", 15}, {"A0b", 16}, {"A0", 17},
    {"A0#", 18}, {"B0b", 19}, {"B0", 20},
    {"C1", 21}, {"C1#", 22}, {"D1b", 23}, {"D1", 24}, {"D1#", 25}, {"E1b", 26}, {"E1", 27},
    {"F1", 28}, {"F1#", 29}, {"G1b", 30}, {"G1", 31}, {"G1#", 32}, {"A1b", 33}, {"A1", 34},
    {"A1#", 35}, {"B1b", 36}, {"B1", 37}, {"C2", 38}}};
// clang-format on

template <std::size_t N>
std::optional<std::int64_t> lookUp(const std::array<NameValue, N>& table, std::string_view name) {
    for (const NameValue& entry : table)
        if (entry.name == name) return entry.value;
    return std::nullopt;
}

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// One semitone up or down; tokens that are no note names are dropped.
std::string stepPhrase(std::string_view phrase, bool up) {
    std::string out;
    for (const std::string_view token : splitAt(phrase, ',')) {
        const std::optional<std::int64_t> n = cdDic(token);
        if (!n) continue;
        out += ',';
        if (token == kGroupMark) {
            out += kGroupMark;
        } else if (up) {
            out += cdArr[static_cast<std::size_t>(*n == kSemitones - 1 ? 0 : *n + 1)];
        } else {
            out += cdArr[static_cast<std::size_t>(*n == 0 ? kSemitones - 1 : *n - 1)];
        }
    }
    return out;
}

const std::string& fieldOf(const ScaleRow& row, std::size_t i) {
    static const std::string empty;
    return i < row.size() ? row[i] : empty;
}

}  // namespace

std::optional<std::int64_t> cdDic(std::string_view name) {
    return lookUp(kSemitoneOf, name);
}
std::optional<std::int64_t> cdDic2(std::string_view name) {
    return lookUp(kPitchOf, name);
}

std::string noteButtonImage(std::size_t button, Clef clef) {
    if (button >= kNoteButtons) return {};
    return std::string(clef == Clef::Treble ? "S_" : "H_") + std::string(cdArr[button]) + ".png";
}

std::string noteFromImage(std::string_view image) {
    if (image.size() < 2) return {};
    std::string_view rest = image.substr(2);
    if (rest.ends_with(".png")) rest.remove_suffix(4);
    for (std::size_t i = 0; i < kNoteButtons; ++i)
        if (cdArr[i] == rest) return std::string(rest);
    return {};
}

std::string transposePhrase(std::string_view phrase, int steps) {
    std::string out(phrase);
    for (int i = 0; i < (steps > 0 ? steps : -steps); ++i) out = stepPhrase(out, steps > 0);
    return out;
}

CircleResult circleOfFourths(std::string_view line, std::string_view phrase, bool shortForm) {
    CircleResult r{std::string(line) + std::string(phrase), std::string(phrase)};
    for (int k = 1; k <= 11; ++k) {
        r.phrase = transposePhrase(r.phrase, 5);
        if (!shortForm || k == 1 || k >= 7) {
            r.line += ',';
            r.line += kGroupMark;
            r.line += r.phrase;
        }
    }
    return r;
}

std::optional<ChordSymbol> splitChordSymbol(std::string_view token) {
    if (token.empty()) return std::nullopt;
    ChordSymbol s;
    s.root = std::string(1, upper(token[0])) + "0";
    if (token.size() >= 2 && (token[1] == '#' || token[1] == 'b')) {
        s.root += token[1];
        s.suffix = std::string(token.substr(2));
    } else {
        s.suffix = std::string(token.substr(1));
    }
    return s;
}

std::optional<std::int64_t> patternOffset(std::string_view part) {
    std::size_t i = 0;
    bool negative = false;
    if (!part.empty() && (part[0] == '+' || part[0] == '-')) {
        negative = part[0] == '-';
        i = 1;
    }
    if (i == part.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < part.size(); ++i) {
        const char c = part[i];
        if (c < '0' || c > '9') return std::nullopt;
        // Anything past two digits' worth is out of range anyway; stop before overflowing.
        if (value > 1000) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    if (value < 0 || value > 12) return std::nullopt;
    return value;
}

std::string chordSymbolNotes(std::string_view symbols, const std::vector<ScaleRow>& rows) {
    std::string added;
    for (const std::string_view token : splitAt(symbols, ' ')) {
        const std::optional<ChordSymbol> symbol = splitChordSymbol(token);
        if (!symbol) continue;
        const std::optional<std::int64_t> root = cdDic(symbol->root);
        // "00" is a key too but no note: a symbol beginning with the digit 0 adds nothing.
        if (!root || *root < 0 || *root > 11) continue;
        const std::string suffix = symbol->suffix.empty() ? "maj" : symbol->suffix;
        for (const ScaleRow& row : rows) {
            if (fieldOf(row, 0) != suffix) continue;
            for (const std::string_view part : splitAt(fieldOf(row, 1), ':')) {
                const std::optional<std::int64_t> k = patternOffset(part);
                if (!k) continue;
                const std::string_view name = cdArr[static_cast<std::size_t>(*root + *k)];
                added += ',';
                added += name;
                diag(std::to_string(*k) + " : " + std::string(name));
            }
            added += ',';
            added += kGroupMark;
        }
    }
    return added;
}

LineCells lineCells(std::string_view line) {
    LineCells out;
    if (line.empty()) return out;
    for (const std::string_view token : splitAt(line, ',')) {
        if (token.empty()) continue;
        std::int64_t value = kQuarterNote;
        if (token == kGroupMark) {
            value = 25;
        } else if (token == kRepeatStart) {
            value = 26;
        } else if (token == kRepeatEnd) {
            value = 27;
        }
        const std::optional<std::int64_t> pitch = cdDic2(token);
        if (!pitch) {
            out.skipped.emplace_back(token);
            continue;
        }
        out.cells.push_back({*pitch, value});
    }
    return out;
}

namespace {

constexpr std::pair<std::string_view, std::string_view> kShownMarks[] = {
    {kGroupMark, "|"}, {kRepeatStart, "|:"}, {kRepeatEnd, ":|"}};

bool isSeparator(char c) {
    return c == ',' || c == ' ' || c == '\t';
}

}  // namespace

std::string readableNotes(std::string_view stored) {
    std::string out;
    for (std::string_view token : splitAt(stored, ',')) {
        if (token.empty()) continue;
        for (const auto& [code, shown] : kShownMarks)
            if (token == code) token = shown;
        if (!out.empty()) out += ' ';
        out += token;
    }
    return out;
}

std::string storedNotes(std::string_view readable) {
    std::string out;
    std::size_t i = 0;
    while (i < readable.size()) {
        if (isSeparator(readable[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < readable.size() && !isSeparator(readable[end])) ++end;
        std::string_view token = readable.substr(i, end - i);
        for (const auto& [code, shown] : kShownMarks)
            if (token == shown) token = code;
        out += ',';
        out += token;
        i = end;
    }
    return out;
}

}  // namespace phrase

bool PhraseBuilder::clickNote(std::size_t button) {
    if (button >= phrase::kNoteButtons) return false;
    phrase += ',';
    phrase += phrase::cdArr[button];
    return true;
}

bool PhraseBuilder::appendNoteFromImage(std::string_view image) {
    const std::string note = phrase::noteFromImage(image);
    if (note.empty()) return false;
    phrase += ',' + note;
    return true;
}

void PhraseBuilder::circleOfFourths(bool shortForm) {
    phrase::CircleResult r = phrase::circleOfFourths(line, phrase, shortForm);
    line = std::move(r.line);
    phrase = std::move(r.phrase);
}

std::string PhraseBuilder::applyChordSymbols() {
    std::string added = phrase::chordSymbolNotes(chords, table_.defItem);
    phrase += added;
    return added;
}

PhraseBuilder::SendResult PhraseBuilder::sendLine(PhraseScore& score) const {
    phrase::LineCells cells = phrase::lineCells(line);
    for (const std::string& token : cells.skipped)
        diag("Not a note name or mark, left out: \"" + token + "\"");
    SendResult r;
    r.accepted = score.appendCells(cells.cells);
    r.cells = cells.cells.size();
    r.skipped = std::move(cells.skipped);
    return r;
}

void PhraseBuilder::playPhrase(PhraseScore& score) const {
    const phrase::LineCells cells = phrase::lineCells(phrase);
    if (!cells.cells.empty()) score.playCells(cells.cells);
}

std::string PhraseBuilder::field(std::size_t row, int column) const {
    if (row >= table_.defItem.size() || column < 0 || column > 1) return {};
    const ScaleRow& r = table_.defItem[row];
    const auto i = static_cast<std::size_t>(column);
    return i < r.size() ? r[i] : std::string();
}

std::optional<std::string> PhraseBuilder::setField(std::size_t row, int column,
                                                   const std::string& value) {
    if (row >= table_.defItem.size() || column < 0 || column > 1)
        return "There is no such cell in the pattern table.";
    if (value.find_first_of(",\r\n") != std::string::npos)
        return "A pattern name or offset list cannot hold a comma or a line break.";
    ScaleRow& r = table_.defItem[row];
    ScaleRow edited{field(row, 0), field(row, 1)};
    edited[static_cast<std::size_t>(column)] = value;
    r = std::move(edited);
    return std::nullopt;
}

void PhraseBuilder::addRow() {
    table_.defItem.push_back({std::string(kNewRowName), std::string(kNewRowName)});
}

bool PhraseBuilder::deleteRow(std::optional<std::size_t> selected, Alerts& alerts) {
    if (!selected || *selected >= table_.defItem.size()) {
        alerts.showAlert(std::string(kNoRowTitle), std::string(kNoRowText));
        return false;
    }
    table_.defItem.erase(table_.defItem.begin() + static_cast<std::ptrdiff_t>(*selected));
    return true;
}

}  // namespace sorvel
