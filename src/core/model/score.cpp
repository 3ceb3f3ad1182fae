#include "model/score.h"

#include <cmath>
#include <sstream>

#include "model/score_file.h"

namespace sorvel {

const std::vector<std::string>& tempoItems() {
    static const std::vector<std::string> items = {"60",  "80",  "100", "120", "140",
                                                   "160", "180", "200", "220", "240"};
    return items;
}

const std::vector<std::string>& inKeyItems() {
    static const std::vector<std::string> items = {"C", "Bb", "Eb"};
    return items;
}

const std::vector<std::string>& beatItems() {
    static const std::vector<std::string> items = {"4", "3", "2", "5", "6"};
    return items;
}

std::string itemText(const std::vector<std::string>& items, std::int64_t index) {
    return index >= 0 && index < static_cast<std::int64_t>(items.size())
               ? items[static_cast<std::size_t>(index)]
               : std::string();
}

std::string ScoreSettings::tempoText() const {
    return itemText(tempoItems(), tempo);
}
std::string ScoreSettings::keyText() const {
    return itemText(inKeyItems(), key);
}
std::string ScoreSettings::beatText() const {
    return itemText(beatItems(), beat);
}

std::int64_t ScoreSettings::tempoValue() const {
    return parseDecimal(tempoText()).value_or(120);
}
std::string ScoreSettings::keyValue() const {
    const std::string text = keyText();
    return text.empty() ? "C" : text;
}
std::int64_t ScoreSettings::beatValue() const {
    return parseDecimal(beatText()).value_or(4);
}

std::vector<float> tuningTable(std::int64_t referencePitch) {
    std::vector<float> table;
    const float a = static_cast<float>(referencePitch);
    // The octave factors are computed exactly as listed: half, once, and the sum.
    const float octaves[3] = {a * 0.5f, a, a + a};
    for (float m : octaves) {
        for (int k = 0; k < 12; ++k) {
            const float f = m * std::pow(2.0f, static_cast<float>(k) / 12.0f);
            table.push_back(f);
            // The enharmonic pairs (A#/Bb, C#/Db ...) have two entries of one frequency.
            if ((0xa52 >> k) & 1) table.push_back(f);
        }
    }
    return table;
}

std::string tableLine(const std::vector<float>& table) {
    std::ostringstream line;
    line << '[';
    for (std::size_t i = 0; i < table.size(); ++i) line << (i ? ", " : "") << table[i];
    line << ']';
    return line.str();
}

}  // namespace sorvel
