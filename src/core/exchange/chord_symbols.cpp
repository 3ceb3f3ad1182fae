#include "exchange/chord_symbols.h"

#include <algorithm>
#include <array>

namespace sorvel::exchange {
namespace {

using Type = ChordDegree::Type;

struct Base {
    std::string_view suffix;
    std::string_view kind;
    ChordDegree implied{};  // value 0: none
};

// Suffixes and their MusicXML kinds. The first suffix of a kind is the one import writes;
// the others are the pattern table's other spellings, kept when a file names them.
constexpr std::array<Base, 36> kBases = {{
    {"", "major"},
    {"maj", "major"},
    {"M", "major"},
    {"m", "minor"},
    {"min", "minor"},
    {"-", "minor"},
    {"aug", "augmented"},
    {"+", "augmented"},
    {"dim", "diminished"},
    {"7", "dominant"},
    {"maj7", "major-seventh"},
    {"M7", "major-seventh"},
    {"m7", "minor-seventh"},
    {"min7", "minor-seventh"},
    {"-7", "minor-seventh"},
    {"dim7", "diminished-seventh"},
    {"aug7", "augmented-seventh"},
    {"m7b5", "half-diminished"},
    {"m7-5", "half-diminished"},
    {"mM7", "major-minor"},
    {"mmaj7", "major-minor"},
    {"6", "major-sixth"},
    {"m6", "minor-sixth"},
    {"9", "dominant-ninth"},
    {"maj9", "major-ninth"},
    {"m9", "minor-ninth"},
    {"11", "dominant-11th"},
    {"maj11", "major-11th"},
    {"m11", "minor-11th"},
    {"13", "dominant-13th"},
    {"maj13", "major-13th"},
    {"m13", "minor-13th"},
    {"sus2", "suspended-second"},
    {"sus4", "suspended-fourth"},
    {"7sus4", "suspended-fourth", {7, -1, Type::Add}},
    {"5", "power"},
}};

bool readRoot(std::string_view text, std::size_t& pos, char& step, int& alter) {
    if (pos >= text.size() || text[pos] < 'A' || text[pos] > 'G') return false;
    step = text[pos++];
    alter = 0;
    if (pos < text.size() && (text[pos] == '#' || text[pos] == 'b')) {
        alter = text[pos] == '#' ? 1 : -1;
        ++pos;
    }
    return true;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// One degree of 2..13 written as digits at the front of s.
bool readDegreeValue(std::string_view& s, int& value) {
    std::size_t n = 0;
    value = 0;
    while (n < s.size() && n < 2 && s[n] >= '0' && s[n] <= '9') value = value * 10 + (s[n++] - '0');
    s.remove_prefix(n);
    return n > 0 && value >= 2 && value <= 13;
}

// Degrees after the kind: "b9", "#11", "add9", "addb9", "no3", optionally all in parentheses.
std::optional<std::vector<ChordDegree>> readDegrees(std::string_view s) {
    if (s.size() >= 2 && s.front() == '(' && s.back() == ')') s = s.substr(1, s.size() - 2);
    std::vector<ChordDegree> out;
    while (!s.empty()) {
        ChordDegree d;
        if (startsWith(s, "no")) {
            s.remove_prefix(2);
            d.type = Type::Subtract;
        } else {
            const bool add = startsWith(s, "add");
            if (add) s.remove_prefix(3);
            if (!s.empty() && (s.front() == 'b' || s.front() == '#')) {
                d.alter = s.front() == '#' ? 1 : -1;
                s.remove_prefix(1);
            } else if (!add) {
                return std::nullopt;
            }
            d.type = Type::Add;
        }
        if (!readDegreeValue(s, d.value)) return std::nullopt;
        // A raised or lowered fifth or third changes a tone of the kind; anything else adds one.
        if (d.type == Type::Add && d.alter != 0 && (d.value == 5 || d.value == 3)) {
            d.type = Type::Alter;
        }
        out.push_back(d);
    }
    return out;
}

std::string degreeText(const ChordDegree& d) {
    const std::string value = std::to_string(d.value);
    const std::string sign = d.alter < 0 ? "b" : "#";
    switch (d.type) {
        case Type::Subtract:
            return "no" + value;
        case Type::Alter:
            return sign + value;
        case Type::Add:
            break;
    }
    return d.alter == 0 ? "add" + value : sign + value;
}

}  // namespace

std::optional<ChordSymbol> parseChordSymbol(std::string_view token) {
    std::size_t pos = 0;
    ChordSymbol c;
    if (!readRoot(token, pos, c.rootStep, c.rootAlter)) return std::nullopt;
    std::string_view rest = token.substr(pos);
    const std::size_t slash = rest.find('/');
    if (slash != std::string_view::npos) {
        std::size_t bpos = slash + 1;
        if (!readRoot(rest, bpos, c.bassStep, c.bassAlter) || bpos != rest.size()) {
            return std::nullopt;
        }
        rest = rest.substr(0, slash);
    }
    // The longest kind the suffix begins with after which only degrees follow.
    const Base* best = nullptr;
    std::vector<ChordDegree> degrees;
    for (const Base& b : kBases) {
        if (!startsWith(rest, b.suffix)) continue;
        if (best != nullptr && b.suffix.size() <= best->suffix.size()) continue;
        if (auto d = readDegrees(rest.substr(b.suffix.size()))) {
            best = &b;
            degrees = std::move(*d);
        }
    }
    if (best == nullptr) return std::nullopt;
    c.kind = std::string(best->kind);
    if (best->implied.value != 0) degrees.insert(degrees.begin(), best->implied);
    c.degrees = std::move(degrees);
    c.suffix = std::string(rest);
    return c;
}

std::optional<std::string> suffixOf(std::string_view kind,
                                    const std::vector<ChordDegree>& degrees) {
    if (kind == "none") return std::string("N.C.");
    const Base* base = nullptr;
    std::vector<ChordDegree> rest = degrees;
    for (const Base& b : kBases) {
        if (b.kind != kind) continue;
        if (b.implied.value == 0) {
            if (base == nullptr) base = &b;
            continue;
        }
        const auto it = std::find(rest.begin(), rest.end(), b.implied);
        if (it != rest.end()) {
            rest.erase(it);
            base = &b;
            break;
        }
    }
    if (base == nullptr) return std::nullopt;
    std::string mods;
    for (const ChordDegree& d : rest) {
        if (d.alter < -1 || d.alter > 1) return std::nullopt;
        if (d.type == Type::Alter && d.alter == 0) continue;  // changes nothing
        mods += degreeText(d);
    }
    // "Cb5" would read as C flat: degrees right after the root go in parentheses.
    if (base->suffix.empty() && !mods.empty() && (mods[0] == 'b' || mods[0] == '#')) {
        mods = "(" + mods + ")";
    }
    return std::string(base->suffix) + mods;
}

std::string chordText(const ChordSymbol& chord) {
    auto root = [](char step, int alter) {
        std::string s(1, step);
        if (alter == 1) s += '#';
        if (alter == -1) s += 'b';
        return s;
    };
    std::string text = root(chord.rootStep, chord.rootAlter) + chord.suffix;
    if (chord.bassStep != 0) {
        text += '/';
        text += root(chord.bassStep, chord.bassAlter);
    }
    return text;
}

}  // namespace sorvel::exchange
