#include "model/score_file.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

#include "model/notation_tables.h"
#include "model/note_values.h"

namespace sorvel {
namespace {

std::string quotedText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

std::string readError(const std::string& path, const std::string& reason) {
    std::string out = "Could not read ";
    out += quotedText(path);
    out += ": ";
    out += reason;
    out += '.';
    return out;
}

// A short, UTF-8-safe excerpt of a line for diagnostics.
std::string excerpt(std::string_view line) {
    constexpr std::size_t kMax = 40;
    if (line.size() <= kMax) return quotedText(line);
    std::size_t cut = kMax;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    std::string shortened(line.substr(0, cut));
    shortened += "...";
    return quotedText(shortened);
}

// "line N" of a line of text, counted as an editor does (CR LF is one line break).
std::string lineLabel(std::string_view text, std::string_view line) {
    const std::string_view before =
        text.substr(0, static_cast<std::size_t>(line.data() - text.data()));
    std::size_t n = 1;
    for (std::size_t i = 0; i < before.size(); ++i) {
        n += before[i] == '\n' ||
             (before[i] == '\r' && (i + 1 == before.size() || before[i + 1] != '\n'));
    }
    return "line " + std::to_string(n);
}

ScoreParseResult unknownFormat(std::string why) {
    ScoreParseResult r;
    r.rejection = ScoreRejection::UnknownFormat;
    r.error = std::move(why);
    return r;
}

ScoreParseResult cannotOpen(std::string why) {
    ScoreParseResult r;
    r.rejection = ScoreRejection::CannotOpen;
    r.error = std::move(why);
    return r;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Percent-decoding; nothing when an escape is malformed.
std::optional<std::string> percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = hexValue(text[i + 1]);
        const int lo = hexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    return out;
}

// The reference pitch of a header field that is no integer: its leading digits, or 440.
std::int64_t leadingPitch(std::string_view text) {
    std::size_t digits = 0;
    while (digits < text.size() && digits < 9 && text[digits] >= '0' && text[digits] <= '9') {
        ++digits;
    }
    if (digits == 0) return 440;
    return *parseDecimal(text.substr(0, digits));
}

void appendInt(std::string& out, std::int64_t value) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr);
}

}  // namespace

Result<std::string> readFileBytes(const std::string& path, std::uintmax_t maxSize) {
    namespace fs = std::filesystem;
    std::string bytes;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec && st.type() != fs::file_type::not_found) {
        return Result<std::string>::failure(readError(path, ec.message()));
    }
    if (st.type() == fs::file_type::not_found) {
        return Result<std::string>::failure(readError(path, "no such file"));
    }
    if (st.type() == fs::file_type::directory) {
        return Result<std::string>::failure(readError(path, "it is a folder, not a file"));
    }
    if (st.type() != fs::file_type::regular) {
        return Result<std::string>::failure(readError(path, "it is not a regular file"));
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > maxSize) {
        return Result<std::string>::failure(
            readError(path, "the file is too large (" + std::to_string(size) + " bytes)"));
    }

    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int e = errno;
        return Result<std::string>::failure(
            readError(path, e ? std::generic_category().message(e) : "it cannot be opened"));
    }
    if (!ec) bytes.reserve(static_cast<std::size_t>(size));
    char buf[1 << 16];
    while (in) {
        in.read(buf, sizeof buf);
        bytes.append(buf, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > maxSize) {
            return Result<std::string>::failure(readError(path, "the file is too large"));
        }
    }
    if (in.bad()) {
        return Result<std::string>::failure(readError(path, "a read error occurred"));
    }
    return bytes;
}

std::optional<std::size_t> firstInvalidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = 0;
        unsigned lo = 0x80, hi = 0xBF;  // range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c == 0xE0) {
            len = 3;
            lo = 0xA0;  // no overlong forms
        } else if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF) {
            len = 3;
        } else if (c == 0xED) {
            len = 3;
            hi = 0x9F;  // no surrogates
        } else if (c == 0xF0) {
            len = 4;
            lo = 0x90;
        } else if (c >= 0xF1 && c <= 0xF3) {
            len = 4;
        } else if (c == 0xF4) {
            len = 4;
            hi = 0x8F;  // nothing above U+10FFFF
        } else {
            return i;
        }
        if (n - i < len || p[i + 1] < lo || p[i + 1] > hi) return i;
        for (std::size_t k = 2; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return i;
        }
        i += len;
    }
    return std::nullopt;
}

std::optional<std::string_view> TextLines::next() {
    if (done_) return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(text_.data());
    const std::size_t n = text_.size();
    for (std::size_t i = pos_; i < n; ++i) {
        std::size_t sep = 0;
        const unsigned c = p[i];
        if (c >= 0x0A && c <= 0x0D) {
            sep = 1;
        } else if (c == 0xC2 && i + 1 < n && p[i + 1] == 0x85) {
            sep = 2;
        } else if (c == 0xE2 && i + 2 < n && p[i + 1] == 0x80 &&
                   (p[i + 2] == 0xA8 || p[i + 2] == 0xA9)) {
            sep = 3;
        }
        if (sep == 0) continue;
        const std::string_view line = text_.substr(pos_, i - pos_);
        pos_ = i + sep;
        return line;
    }
    done_ = true;
    return text_.substr(pos_);
}

std::size_t countCharacters(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

std::vector<std::string_view> splitFields(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t pos = text.find(separator, start);
        if (pos == std::string_view::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, pos - start));
        start = pos + 1;
    }
}

std::optional<std::int64_t> parseDecimal(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size()) return std::nullopt;
    // Accumulate negatively so that the most negative value fits.
    std::int64_t value = 0;
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        const int d = c - '0';
        if (value < (kMin + d) / 10) return std::nullopt;
        value = value * 10 - d;
    }
    if (!negative) {
        if (value == kMin) return std::nullopt;
        value = -value;
    }
    return value;
}

std::string lastPathComponent(const std::string& path) {
    std::size_t end = path.size();
    while (end > 1 && path[end - 1] == '/') --end;
    const std::string_view trimmed(path.data(), end);
    const std::size_t slash = trimmed.rfind('/');
    if (slash == std::string_view::npos || trimmed.size() == 1) return std::string(trimmed);
    return std::string(trimmed.substr(slash + 1));
}

ScoreParseResult parseScore(std::string_view bytes) {
    if (const auto bad = firstInvalidUtf8(bytes)) {
        return cannotOpen("The file is not UTF-8 text (invalid byte at offset " +
                          std::to_string(*bad) + ").");
    }
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    TextLines lines(bytes);
    const std::string_view first = *lines.next();
    if (first.empty() || first.front() != '<') {
        return unknownFormat("the first line does not begin with \"<\"");
    }

    // Only the first seven header fields mean anything; the rest are counted, not kept. A
    // header of four to six fields leaves the key, the beat and the pitch at their defaults.
    Score score;
    score.musicData.clear();
    constexpr std::size_t kHeaderFields = 7;
    std::array<std::string_view, kHeaderFields> header;
    std::size_t fieldCount = 0;
    for (std::size_t start = 0;;) {
        const std::size_t comma = first.find(',', start);
        const std::size_t end = comma == std::string_view::npos ? first.size() : comma;
        if (fieldCount < kHeaderFields) header[fieldCount] = first.substr(start, end - start);
        ++fieldCount;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (fieldCount < 4) return unknownFormat("the header has fewer than four fields");
    auto headerInt = [&](std::size_t index, std::int64_t& out) {
        const auto v = parseDecimal(header[index]);
        if (v) out = *v;
        return v.has_value();
    };
    ScoreSettings& set = score.settings;
    if (!headerInt(2, set.imageSet) || !headerInt(3, set.tempo)) {
        return unknownFormat("header field 3 or 4 is not an integer");
    }
    if (fieldCount == kHeaderFields) {
        if (!headerInt(5, set.key) || !headerInt(6, set.beat)) {
            return unknownFormat("header field 6 or 7 is not an integer");
        }
        // Writers that store the pitch field as typed leave texts such as "442.5" or "";
        // the pitch field applies the leading integer of such a text.
        if (!headerInt(4, set.referencePitch)) set.referencePitch = leadingPitch(header[4]);
    }

    while (const auto next = lines.next()) {
        const std::string_view line = *next;
        if (line.empty()) continue;
        if (line.front() == '#') {
            if (const std::size_t n = countCharacters(line) - 1; n > kMaxChordLineFileChars) {
                return unknownFormat(lineLabel(bytes, line) + ": the chord line has " +
                                     std::to_string(n) +
                                     " characters; a chord line holds at most " +
                                     std::to_string(kMaxChordLineFileChars));
            }
            score.codeData.emplace_back(line.substr(1));
            continue;
        }
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            return unknownFormat(lineLabel(bytes, line) + ": cell line " + excerpt(line) +
                                 " has no second field");
        }
        const std::string_view rest = line.substr(comma + 1);
        const auto p = parseDecimal(line.substr(0, comma));
        const auto v = parseDecimal(rest.substr(0, rest.find(',')));
        if (!p || !v) {
            return unknownFormat(lineLabel(bytes, line) + ": cell line " + excerpt(line) +
                                 " does not hold two integers");
        }
        if (!tables::validPitch(*p) || !validValue(*v)) {
            return unknownFormat(lineLabel(bytes, line) + ": cell line " + excerpt(line) +
                                 " is outside the tables");
        }
        score.musicData.push_back(ScoreCell{*p, *v});
    }

    ScoreParseResult result;
    result.score = std::move(score);
    return result;
}

std::string scoreFileText(const Score& score) {
    const ScoreSettings& set = score.settings;
    std::string out;
    std::size_t chordBytes = 0;
    for (const std::string& line : score.codeData) chordBytes += line.size() + 2;
    out.reserve(64 + chordBytes + score.musicData.size() * 6);

    out += "<,sorvel2,";
    appendInt(out, set.imageSet);
    out += ',';
    appendInt(out, set.tempo);
    out += ',';
    appendInt(out, set.referencePitch);
    out += ',';
    appendInt(out, set.key);
    out += ',';
    appendInt(out, set.beat);
    out += '\n';
    for (const std::string& line : score.codeData) {
        out += '#';
        // A line break would end the chord line early and shift every line after it.
        out += chordTextOnOneLine(line);
        out += '\n';
    }
    for (const ScoreCell& cell : score.musicData) {
        appendInt(out, cell.noteIndex);
        out += ',';
        appendInt(out, cell.onpIndex);
        out += '\n';
    }
    return out;
}

std::string chordTextOnOneLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += ' ';
            ++i;
        } else if (c >= 0x0A && c <= 0x0D) {
            out += ' ';
        } else if (c == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) == 0x85) {
            out += ' ';
            ++i;
        } else if (c == 0xE2 && i + 2 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                   (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
                    static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
            out += ' ';
            i += 2;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

ScoreParseResult loadScoreFile(const std::string& path) {
    const Result<std::string> read = readFileBytes(path);
    if (!read) return cannotOpen(read.reason());
    return parseScore(read.value());
}

std::string rejectionMessage(const ScoreParseResult& result) {
    switch (result.rejection) {
        case ScoreRejection::CannotOpen:
            return std::string(kCantOpenFilePrefix) + "\n\n" + result.error;
        case ScoreRejection::UnknownFormat:
            return std::string(kUnknownFormatMessage);
        case ScoreRejection::None:
            break;
    }
    return {};
}

std::string rejectionDetail(const ScoreParseResult& result) {
    if (result.rejection != ScoreRejection::UnknownFormat || result.error.empty()) return {};
    std::string detail = result.error;
    if (detail[0] >= 'a' && detail[0] <= 'z') detail[0] = static_cast<char>(detail[0] - 'a' + 'A');
    return detail + '.';
}

Result<std::string> resolveOpenText(std::string_view text) {
    constexpr std::string_view kScheme = "file://";
    if (startsWithNoCase(text, kScheme)) {
        std::string_view rest = text.substr(kScheme.size());
        const std::size_t end = rest.find_first_of("?#");
        if (end != std::string_view::npos) rest = rest.substr(0, end);
        const std::size_t slash = rest.find('/');
        const std::string_view host =
            slash == std::string_view::npos ? rest : rest.substr(0, slash);
        const std::string_view encodedPath =
            slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        if (auto decoded = percentDecode(encodedPath)) {
            const bool localHost =
                host.empty() || (host.size() == 9 && startsWithNoCase(host, "localhost"));
            if (!localHost) {
                return Result<std::string>::failure(quotedText(text) +
                                                    " is not a file on this computer.");
            }
            if (decoded->empty() || decoded->find('\0') != std::string::npos) {
                return Result<std::string>::failure(quotedText(text) + " does not name a file.");
            }
            return std::move(*decoded);
        }
        // A malformed escape: not a URL, so a plain path.
    }
    return std::string(text);
}

}  // namespace sorvel
