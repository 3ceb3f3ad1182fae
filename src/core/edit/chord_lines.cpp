#include "edit/chord_lines.h"

#include <cctype>

#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "model/score_file.h"

namespace sorvel {
namespace {

// Length in bytes of the UTF-8 character starting at text[0] (a stray byte counts as one).
std::size_t firstCharLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t len = 1;
    if ((lead & 0xE0) == 0xC0) {
        len = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4;
    }
    if (len > text.size()) return 1;
    for (std::size_t i = 1; i < len; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
    }
    return len;
}

std::string upperFirst(std::string_view ch) {
    std::string s(ch);
    if (s.size() == 1) s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
    return s;
}

std::string transposeToken(std::string_view token, bool up) {
    std::string root;
    std::string_view suffix;
    const std::size_t first = firstCharLength(token);
    if (first == token.size()) {
        root = upperFirst(token);
    } else if (!token.empty()) {
        const std::string_view head = token.substr(0, first);
        const std::string_view rest = token.substr(first);
        root = upperFirst(head);
        const std::string_view restFirst = rest.substr(0, firstCharLength(rest));
        diag(std::string(token) + " : " + root);
        diag(std::string(token) + " : " + std::string(rest));
        diag(std::string(rest) + " : " + std::string(restFirst));
        if (rest[0] == '#' || rest[0] == 'b') {
            root += rest[0];
            suffix = rest.substr(1);
        } else {
            suffix = rest;
        }
    }
    const auto index = tables::codeDic(root);
    if (!index) return std::string(token);
    const auto i = static_cast<std::size_t>(*index);
    std::string out(up ? tables::upCode[i] : tables::dnCode[i]);
    out += suffix;
    return out;
}

}  // namespace

std::string transposeChordLine(std::string_view line, bool up) {
    std::string result;
    result.reserve(line.size() + 8);
    std::size_t start = 0;
    while (true) {
        const std::size_t blank = line.find(' ', start);
        const std::string_view token = line.substr(
            start, blank == std::string_view::npos ? std::string_view::npos : blank - start);
        result += transposeToken(token, up);
        result += ' ';
        if (blank == std::string_view::npos) break;
        start = blank + 1;
    }
    return result;
}

bool chordEditTooLong(std::string_view before, std::string_view after) {
    const std::size_t n = countCharacters(after);
    return n > kMaxChordLineChars && n > countCharacters(before);
}

}  // namespace sorvel
