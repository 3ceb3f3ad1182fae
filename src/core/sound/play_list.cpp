#include "sound/play_list.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "model/diagnostics.h"
#include "model/note_values.h"

namespace sorvel {
namespace {

// What a note value does when the score is played, read from the note-value table. The tied
// forms of notes are the ones whose tie partner comes before them in the table (the untied
// note): their length carries into the next sounding note.
enum class Role { Nothing, Note, Rest, Tie, RepeatStart, RepeatEnd, FirstEnding };

Role roleOf(std::int64_t onp) {
    if (!validValue(onp)) return Role::Nothing;
    const NoteValue& value = noteValue(onp);
    switch (value.kind) {
        case NoteKind::Note:
            return value.tie < onp ? Role::Tie : Role::Note;
        case NoteKind::Rest:
            return Role::Rest;
        case NoteKind::RepeatStart:
            return Role::RepeatStart;
        case NoteKind::RepeatEnd:
            return Role::RepeatEnd;
        case NoteKind::FirstEnding:
            return Role::FirstEnding;
        case NoteKind::Blank:
        case NoteKind::BarLine:
            return Role::Nothing;
    }
    return Role::Nothing;
}

float beatsOf(std::int64_t onp) {
    return validValue(onp) ? noteValue(onp).beats : 0.0f;
}

// The walk's diagnostic lines, written a batch at a time: one write per line made a long
// score wait for its terminal before it could start.
class LineBatch {
  public:
    static constexpr std::size_t kBatchBytes = 1 << 16;
    ~LineBatch() { flush(); }
    void cellLine(std::int64_t onp, float seconds) {
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, onp);
        *res.ptr++ = ' ';
        *res.ptr++ = ':';
        *res.ptr++ = ' ';
        res = std::to_chars(res.ptr, buf + sizeof buf, seconds);
        if (!text_.empty()) text_ += '\n';
        text_.append(buf, res.ptr);
        if (text_.size() >= kBatchBytes) flush();
    }
    void line(std::string_view text) {
        flush();
        diag(text);
    }
    void flush() {
        if (text_.empty()) return;
        diag(text_);
        text_.clear();
    }

  private:
    std::string text_;
};

}  // namespace

float keyFactor(std::string_view key) {
    if (key == "Bb") return 0.8908986f;
    if (key == "Eb") return 1.1892073f;
    return 1.0f;
}

float noteSeconds(std::int64_t onpIndex, std::int64_t tempo) {
    if (tempo <= 0) return 0.0f;
    return beatsOf(onpIndex) * (60.0f / static_cast<float>(tempo));
}

std::vector<PlayEntry> buildPlayList(const std::vector<ScoreCell>& cells, std::int64_t startIndex,
                                     const std::vector<float>& freqArr,
                                     const PlayListOptions& options,
                                     std::vector<std::int64_t>* entryCells) {
    std::vector<PlayEntry> list;
    if (entryCells) entryCells->clear();
    LineBatch lines;
    std::int64_t pendingCell = -1;  // where the carried tie chain began
    auto append = [&](PlayEntry entry, std::int64_t cell) {
        list.push_back(entry);
        if (entryCells) entryCells->push_back(cell);
    };
    const std::int64_t count = static_cast<std::int64_t>(cells.size());
    const std::int64_t start = std::max<std::int64_t>(startIndex, -1);
    std::int64_t first = start;
    std::int64_t end = count;
    if (options.exercise) {
        const std::int64_t line = std::max<std::int64_t>(options.cellsPerLine, 1);
        first = (start / line) * line;  // truncates toward zero: -1 gives line 0
        // A line that runs past the last cell stops at the end of the score.
        end = std::min(first + line, count);
    }
    if (end < 1) return list;

    const float factor = keyFactor(options.key);
    bool started = false;
    float pending = -1.0f;  // carried tie length; negative means none
    std::int64_t repeatStart = 0;
    bool inRepeat = false;
    std::int64_t firstEnding = -1;
    std::int64_t resume = -1;
    // Each repeat end goes back at most once: two repeat ends sharing one start would otherwise
    // send the walk back forever. A first-ending jump needs a repeat end's jump before it, so
    // the jumps, and the walk, are finite.
    std::vector<bool> jumped(static_cast<std::size_t>(end), false);

    // Even so a score of nothing but repeat ends would take a time quadratic in its length; a
    // walk longer than any written repeats can need is cut short.
    const std::int64_t budget = 16 * end + 1024;
    std::int64_t steps = 0;

    for (std::int64_t index = 0; index < end; ++index) {
        if (++steps > budget) {
            lines.line("repeat marks lead back too often; the rest of the score is not played");
            break;
        }
        if (inRepeat && index == firstEnding) {
            inRepeat = false;
            index = resume;
            if (index >= end) break;
        }
        if (!started) started = index >= first;

        const ScoreCell& cell = cells[static_cast<std::size_t>(index)];
        const float base =
            cell.noteIndex >= 0 && cell.noteIndex < static_cast<std::int64_t>(freqArr.size())
                ? freqArr[static_cast<std::size_t>(cell.noteIndex)]
                : 0.0f;  // a pitch the table does not hold sounds as silence of its length
        const float f = base * factor;
        float length = noteSeconds(cell.onpIndex, options.tempo);
        lines.cellLine(cell.onpIndex, length);

        switch (roleOf(cell.onpIndex)) {
            case Role::Note:
                if (!started) break;
                if (pending >= 0.0f) {
                    length = pending + length;
                    pending = -1.0f;
                    append({f, length}, pendingCell);
                } else {
                    append({f, length}, index);
                }
                break;
            case Role::Tie:
                if (!started) break;
                if (pending < 0.0f) pendingCell = index;
                pending = pending >= 0.0f ? pending + length : length;
                break;
            case Role::Rest:
                if (started) append({0.0f, length}, index);
                break;
            case Role::RepeatStart:
                repeatStart = index;
                break;
            case Role::FirstEnding:
                firstEnding = index;
                break;
            case Role::RepeatEnd:
                if (inRepeat) {
                    inRepeat = false;
                } else if (!jumped[static_cast<std::size_t>(index)]) {
                    jumped[static_cast<std::size_t>(index)] = true;
                    resume = index + 1;
                    inRepeat = true;
                    index = repeatStart - 1;  // the repeat start cell is walked again
                }
                break;
            case Role::Nothing:
                break;
        }
    }
    return list;
}

}  // namespace sorvel
