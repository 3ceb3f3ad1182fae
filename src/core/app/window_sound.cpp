#include "app/window_sound.h"

#include <cctype>
#include <limits>

#include "model/notation_tables.h"
#include "model/score.h"

namespace sorvel {

std::int64_t leadingInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        const int d = text[i] - '0';
        value = value > (kMax - d) / 10 ? kMax : value * 10 + d;
    }
    return negative ? -value : value;
}

WindowSound::WindowSound(AudioOutput* output)
    : output_(output), table_(tables::freqArr.begin(), tables::freqArr.end()) {}

std::int64_t WindowSound::apply() {
    const std::int64_t a = leadingInteger(referenceText_);
    referenceText_ = std::to_string(a);
    table_ = tuningTable(a);
    return a;
}

float WindowSound::frequency(std::int64_t p) const {
    const bool known = p >= 0 && p < static_cast<std::int64_t>(table_.size());
    return known ? table_[static_cast<std::size_t>(p)] : 0.0f;
}

}  // namespace sorvel
