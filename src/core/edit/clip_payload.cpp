#include "edit/clip_payload.h"

#include <algorithm>
#include <limits>

#include "model/notation_tables.h"
#include "model/note_values.h"

namespace sorvel {
namespace {

class Reader {
  public:
    explicit Reader(std::string_view s) : s_(s) {}

    std::size_t pos() const { return pos_; }
    bool atEnd() const { return pos_ >= s_.size(); }
    bool take(char c) {
        if (atEnd() || s_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool take(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }
    // A decimal integer: optional minus, then "0" or a non-zero digit and more digits.
    bool integer(std::int64_t& out) {
        const bool negative = take('-');
        if (atEnd() || s_[pos_] < '0' || s_[pos_] > '9') return false;
        if (s_[pos_] == '0') {
            ++pos_;
            if (!atEnd() && s_[pos_] >= '0' && s_[pos_] <= '9') return false;
            if (negative) return false;  // "-0"
            out = 0;
            return true;
        }
        std::int64_t value = 0;
        while (!atEnd() && s_[pos_] >= '0' && s_[pos_] <= '9') {
            const int digit = s_[pos_] - '0';
            if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10) return false;
            value = value * 10 + digit;
            ++pos_;
        }
        out = negative ? -value : value;
        return true;
    }

  private:
    std::string_view s_;
    std::size_t pos_ = 0;
};

ClipDecodeResult failure(ClipPayloadError error, std::size_t offset) {
    ClipDecodeResult result;
    result.error = error;
    result.offset = offset;
    return result;
}

}  // namespace

std::string encodeClipCells(const std::vector<ScoreCell>& cells) {
    std::string out(kClipMagic);
    out += ' ';
    out += std::to_string(kClipVersion);
    out += ' ';
    out += std::to_string(cells.size());
    for (const ScoreCell& cell : cells) {
        out += ' ';
        out += std::to_string(cell.noteIndex);
        out += ',';
        out += std::to_string(cell.onpIndex);
    }
    out += '\n';
    return out;
}

ClipDecodeResult decodeClipCells(std::string_view bytes) {
    if (bytes.empty()) return failure(ClipPayloadError::Empty, 0);
    if (bytes.size() > kMaxClipBytes) return failure(ClipPayloadError::TooLarge, 0);
    Reader r(bytes);
    if (!r.take(kClipMagic) || !r.take(' ')) return failure(ClipPayloadError::BadHeader, r.pos());
    std::int64_t version = 0;
    const std::size_t versionAt = r.pos();
    if (!r.integer(version)) return failure(ClipPayloadError::NotNumeric, r.pos());
    if (version != kClipVersion) return failure(ClipPayloadError::UnsupportedVersion, versionAt);
    if (!r.take(' ')) return failure(ClipPayloadError::BadHeader, r.pos());
    std::int64_t count = 0;
    const std::size_t countAt = r.pos();
    if (!r.integer(count)) return failure(ClipPayloadError::NotNumeric, r.pos());
    if (count < 1 || count > kMaxClipCells) return failure(ClipPayloadError::BadCount, countAt);

    std::vector<ScoreCell> cells;
    // Reserve no more than the bytes can hold: a lying count cannot make us allocate.
    cells.reserve(static_cast<std::size_t>(
        std::min<std::int64_t>(count, static_cast<std::int64_t>(bytes.size() / 4))));
    while (r.take(' ')) {
        if (static_cast<std::int64_t>(cells.size()) == count) {
            return failure(ClipPayloadError::CountMismatch, r.pos());
        }
        ScoreCell cell;
        const std::size_t pitchAt = r.pos();
        if (!r.integer(cell.noteIndex)) return failure(ClipPayloadError::NotNumeric, r.pos());
        if (!r.take(',')) {
            // A pitch followed by the next separator or the end: its value is missing.
            if (r.atEnd() || bytes[r.pos()] == ' ' || bytes[r.pos()] == '\n') {
                return failure(ClipPayloadError::OddCount, r.pos());
            }
            return failure(ClipPayloadError::NotNumeric, r.pos());
        }
        const std::size_t valueAt = r.pos();
        if (r.atEnd() || bytes[r.pos()] == ' ' || bytes[r.pos()] == '\n') {
            return failure(ClipPayloadError::OddCount, r.pos());
        }
        if (!r.integer(cell.onpIndex)) return failure(ClipPayloadError::NotNumeric, r.pos());
        if (!tables::validPitch(cell.noteIndex)) {
            return failure(ClipPayloadError::PitchOutOfRange, pitchAt);
        }
        if (!validValue(cell.onpIndex)) {
            return failure(ClipPayloadError::ValueOutOfRange, valueAt);
        }
        cells.push_back(cell);
    }
    if (r.atEnd()) {
        return failure(static_cast<std::int64_t>(cells.size()) == count
                           ? ClipPayloadError::Truncated
                           : ClipPayloadError::CountMismatch,
                       r.pos());
    }
    if (!r.take('\n')) return failure(ClipPayloadError::NotNumeric, r.pos());
    if (static_cast<std::int64_t>(cells.size()) != count) {
        return failure(ClipPayloadError::CountMismatch, r.pos());
    }
    if (!r.atEnd()) return failure(ClipPayloadError::CountMismatch, r.pos());
    ClipDecodeResult result;
    result.cells = std::move(cells);
    return result;
}

std::string describeClipError(ClipPayloadError error) {
    switch (error) {
        case ClipPayloadError::None:
            return "The copied cells are in order.";
        case ClipPayloadError::Empty:
            return "The clipboard holds no cells.";
        case ClipPayloadError::TooLarge:
            return "The copied cells on the clipboard are too many to paste.";
        case ClipPayloadError::BadHeader:
        case ClipPayloadError::NotNumeric:
        case ClipPayloadError::OddCount:
        case ClipPayloadError::CountMismatch:
        case ClipPayloadError::Truncated:
        case ClipPayloadError::BadCount:
            return "The cells on the clipboard are damaged; nothing was pasted.";
        case ClipPayloadError::UnsupportedVersion:
            return "The cells on the clipboard come from a newer version of Sorvel Score; "
                   "nothing was pasted.";
        case ClipPayloadError::PitchOutOfRange:
            return "The cells on the clipboard hold a pitch this score cannot show; nothing "
                   "was pasted.";
        case ClipPayloadError::ValueOutOfRange:
            return "The cells on the clipboard hold a note value this score cannot show; "
                   "nothing was pasted.";
    }
    return "The cells on the clipboard cannot be pasted.";
}

}  // namespace sorvel
