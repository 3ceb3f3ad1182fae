#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/result.h"
#include "model/score.h"

namespace sorvel {

// Text files: reading, UTF-8 and lines.

// Reads a regular file at once: its whole content, or why it could not be read. Directories,
// devices and files over maxSize fail.
inline constexpr std::uintmax_t kMaxTextFileSize = 256u * 1024u * 1024u;
Result<std::string> readFileBytes(const std::string& path,
                                  std::uintmax_t maxSize = kMaxTextFileSize);

// Byte offset of the first byte that breaks UTF-8, or nothing when the text is valid.
std::optional<std::size_t> firstInvalidUtf8(std::string_view text);

// Walks a text line by line without indexing it first. Every newline character ends a line:
// LF, VT, FF, CR, NEL (U+0085), U+2028 and U+2029, so CR LF gives an empty line; the text
// must be valid UTF-8. A text of n newlines has n + 1 lines.
class TextLines {
  public:
    explicit TextLines(std::string_view text) : text_(text) {}
    // The next line, or nothing after the last one.
    std::optional<std::string_view> next();

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    bool done_ = false;
};

// Characters (code points) of a UTF-8 text.
std::size_t countCharacters(std::string_view text);

// Splits at every separator; "" gives one empty field.
std::vector<std::string_view> splitFields(std::string_view text, char separator);

// A decimal integer with an optional sign and nothing else, or nothing.
std::optional<std::int64_t> parseDecimal(std::string_view text);

// The last path component, as a window title shows it.
std::string lastPathComponent(const std::string& path);

// Score files.

inline constexpr std::string_view kUnknownFormatMessage = "認識できないファイル形式です。";
inline constexpr std::string_view kCantOpenFilePrefix = "Can't open file ";

// Far more than any music needs, and little enough that a chord field shows it at once:
// typing and pasting stop a chord line at kMaxChordLineChars characters. A file may hold
// twice as many (a full line of single-letter chords gains a sharp each when transposed);
// a file with a longer chord line is refused.
inline constexpr std::size_t kMaxChordLineChars = 4096;
inline constexpr std::size_t kMaxChordLineFileChars = 2 * kMaxChordLineChars;

enum class ScoreRejection {
    None,
    // The file could not be read as text (unreadable, not UTF-8): "Can't open file ...".
    CannotOpen,
    // The text is no score: "認識できないファイル形式です。".
    UnknownFormat,
};

struct ScoreParseResult {
    // The file's cells, chord lines and settings, checked against the tables.
    std::optional<Score> score;
    ScoreRejection rejection = ScoreRejection::None;
    // CannotOpen: the error description the alert shows. UnknownFormat: what was wrong, for a
    // diagnostic line.
    std::string error;
};

// Parses a whole file; a file is accepted completely or not at all.
ScoreParseResult parseScore(std::string_view bytes);

// readFileBytes then parseScore; a read failure is CannotOpen.
ScoreParseResult loadScoreFile(const std::string& path);

// The text of a score file: the header, one "#" line per chord line, one line per cell,
// each ending in LF. Save and every export write it.
std::string scoreFileText(const Score& score);

// A chord line is one line of the score file: every line break in the text (LF, CR, CR LF,
// VT, FF, NEL, U+2028, U+2029) becomes one blank. Other text stays byte for byte.
std::string chordTextOnOneLine(std::string_view text);

// The alert text for a rejection.
std::string rejectionMessage(const ScoreParseResult& result);
// What the alert says below that text: for a file that is no score, what is wrong and where.
std::string rejectionDetail(const ScoreParseResult& result);

// A text given to the open routine (a "file://" URL or a plain path): the path it names, or
// why it names no file on this computer.
Result<std::string> resolveOpenText(std::string_view text);

}  // namespace sorvel
