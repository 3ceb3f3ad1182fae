#include "core_text.h"

#include <QCoreApplication>
#include <QList>
#include <QRegularExpression>
#include <algorithm>
#include <iterator>
#include <optional>

namespace sorvel::gui {

namespace {

constexpr const char* kContext = "CoreText";

// Every text the core shows the user, as the core writes it: fixed texts, and templates whose
// %1, %2 ... stand for the parts the core fills in (names, numbers, other texts).
const char* const kCoreTexts[] = {
    // Alerts of the application and the clipboard commands.
    QT_TRANSLATE_NOOP("CoreText", "Please open the main window first"),
    QT_TRANSLATE_NOOP("CoreText", "Please open or select the main window and try again"),
    QT_TRANSLATE_NOOP("CoreText", "範囲指定が不正です。"),
    QT_TRANSLATE_NOOP("CoreText", "認識できないファイル形式です。"),
    QT_TRANSLATE_NOOP("CoreText", "コードエラー"),
    QT_TRANSLATE_NOOP("CoreText", "コードを選択してください"),
    QT_TRANSLATE_NOOP("CoreText", "Can't open file \n\n%1"),
    QT_TRANSLATE_NOOP("CoreText", "Can't open file %1"),
    QT_TRANSLATE_NOOP("CoreText", "end"),
    QT_TRANSLATE_NOOP("CoreText", "select \"SET\" data folder"),
    QT_TRANSLATE_NOOP("CoreText",
                      "Can't find \"SET\" data .\n\nPlease check the location of the \"set\" "
                      "folder \nand launch Sorvel Score again .\n\nBye!"),
    QT_TRANSLATE_NOOP("CoreText", "The file could not be saved."),
    QT_TRANSLATE_NOOP("CoreText",
                      "There is not enough memory to open this file. The other windows are not "
                      "affected."),
    QT_TRANSLATE_NOOP("CoreText", "The file %1 could not be imported."),
    QT_TRANSLATE_NOOP("CoreText", "Some of %1 could not be carried over:"),
    QT_TRANSLATE_NOOP("CoreText", "The title \"%1\" is used as the file name %2."),
    QT_TRANSLATE_NOOP("CoreText", "Unsaved scores left by an earlier session could not be read."),
    QT_TRANSLATE_NOOP("CoreText", "They are kept as:"),
    QT_TRANSLATE_NOOP("CoreText", "%1 is a MusicXML file, not a score file."),
    QT_TRANSLATE_NOOP("CoreText",
                      "Import its melody into a new score window? (File > Import does the same.)"),
    QT_TRANSLATE_NOOP("CoreText", "Import"),
    QT_TRANSLATE_NOOP("CoreText", "The clipboard holds no score cells; nothing was pasted."),
    QT_TRANSLATE_NOOP("CoreText", "Unknown export format."),
    // Why a file could not be read or was refused.
    QT_TRANSLATE_NOOP("CoreText", "Could not read %1: %2."),
    QT_TRANSLATE_NOOP("CoreText", "no such file"),
    QT_TRANSLATE_NOOP("CoreText", "it is a folder, not a file"),
    QT_TRANSLATE_NOOP("CoreText", "it is not a regular file"),
    QT_TRANSLATE_NOOP("CoreText", "the file is too large (%1 bytes)"),
    QT_TRANSLATE_NOOP("CoreText", "the file is too large"),
    QT_TRANSLATE_NOOP("CoreText", "it cannot be opened"),
    QT_TRANSLATE_NOOP("CoreText", "a read error occurred"),
    QT_TRANSLATE_NOOP("CoreText", "Permission denied"),
    QT_TRANSLATE_NOOP("CoreText", "The file is not UTF-8 text (invalid byte at offset %1)."),
    QT_TRANSLATE_NOOP("CoreText", "the first line does not begin with \"<\""),
    QT_TRANSLATE_NOOP("CoreText", "the header has fewer than four fields"),
    QT_TRANSLATE_NOOP("CoreText", "header field 3 or 4 is not an integer"),
    QT_TRANSLATE_NOOP("CoreText", "header field 6 or 7 is not an integer"),
    QT_TRANSLATE_NOOP("CoreText", "line %1"),
    QT_TRANSLATE_NOOP("CoreText",
                      "%1: the chord line has %2 characters; a chord line holds at most %3"),
    QT_TRANSLATE_NOOP("CoreText", "%1: cell line %2 has no second field"),
    QT_TRANSLATE_NOOP("CoreText", "%1: cell line %2 does not hold two integers"),
    QT_TRANSLATE_NOOP("CoreText", "%1: cell line %2 is outside the tables"),
    QT_TRANSLATE_NOOP("CoreText", "%1 is not a file on this computer."),
    QT_TRANSLATE_NOOP("CoreText", "%1 does not name a file."),
    // The clipboard.
    QT_TRANSLATE_NOOP("CoreText", "The copied cells are in order."),
    QT_TRANSLATE_NOOP("CoreText", "The clipboard holds no cells."),
    QT_TRANSLATE_NOOP("CoreText", "The copied cells on the clipboard are too many to paste."),
    QT_TRANSLATE_NOOP("CoreText", "The cells on the clipboard are damaged; nothing was pasted."),
    QT_TRANSLATE_NOOP("CoreText",
                      "The cells on the clipboard come from a newer version of Sorvel Score; "
                      "nothing was pasted."),
    QT_TRANSLATE_NOOP("CoreText",
                      "The cells on the clipboard hold a pitch this score cannot show; nothing "
                      "was pasted."),
    QT_TRANSLATE_NOOP("CoreText",
                      "The cells on the clipboard hold a note value this score cannot show; "
                      "nothing was pasted."),
    QT_TRANSLATE_NOOP("CoreText", "The cells on the clipboard cannot be pasted."),
    // Playback, the tuner and the microphone.
    QT_TRANSLATE_NOOP("CoreText", "Tempo must be a whole number from 1 to %1."),
    QT_TRANSLATE_NOOP("CoreText", "Beats per bar must be a whole number from 1 to %1."),
    QT_TRANSLATE_NOOP("CoreText", "There is no sound output to play on."),
    QT_TRANSLATE_NOOP("CoreText", "No sound output"),
    QT_TRANSLATE_NOOP("CoreText", "The sound output has no usable format"),
    QT_TRANSLATE_NOOP("CoreText", "No microphone"),
    QT_TRANSLATE_NOOP("CoreText", "No microphone: %1"),
    QT_TRANSLATE_NOOP("CoreText", "The reference pitch %1 Hz gives no pitch table"),
    QT_TRANSLATE_NOOP("CoreText", "The microphone's sample rate is not usable"),
    QT_TRANSLATE_NOOP("CoreText", "%1 cents"),
    // Why the microphone gives nothing (the sound input's reasons, after "No microphone: ").
    QT_TRANSLATE_NOOP("CoreText", "no sound server"),
    QT_TRANSLATE_NOOP("CoreText", "no input device for 48 kHz mono float"),
    QT_TRANSLATE_NOOP("CoreText", "already recording"),
    // The pattern table and the phrase builder.
    QT_TRANSLATE_NOOP("CoreText", "The pattern table could not be read."),
    QT_TRANSLATE_NOOP("CoreText", "The pattern table could not be saved."),
    QT_TRANSLATE_NOOP("CoreText",
                      "Chord symbols find no patterns until it is mended, and the file is left as "
                      "it is."),
    QT_TRANSLATE_NOOP("CoreText",
                      "The file changed since start-up and is left as it is; the changes made to "
                      "the table in this session are not saved."),
    QT_TRANSLATE_NOOP("CoreText", "%1 is not UTF-8 text (invalid byte at offset %2)."),
    QT_TRANSLATE_NOOP("CoreText", "%1 has more than %2 rows, too many for a pattern table."),
    QT_TRANSLATE_NOOP("CoreText", "There is no such cell in the pattern table."),
    QT_TRANSLATE_NOOP("CoreText",
                      "A pattern name or offset list cannot hold a comma or a line break."),
    // Export.
    QT_TRANSLATE_NOOP("CoreText", "The sample rate must lie between 8000 and 192000 Hz."),
    QT_TRANSLATE_NOOP("CoreText", "The tempo must be a positive number of beats per minute."),
    QT_TRANSLATE_NOOP("CoreText",
                      "The recording would be too long for a WAV file (more than %1 hours)."),
    QT_TRANSLATE_NOOP("CoreText", "The file could not be written."),
    QT_TRANSLATE_NOOP("CoreText", "The file could not be created."),
    QT_TRANSLATE_NOOP("CoreText", "Out of memory while compressing the score."),
    QT_TRANSLATE_NOOP("CoreText", "The score could not be compressed: %1."),
    QT_TRANSLATE_NOOP("CoreText", "the archive could not be read back"),
    // MusicXML import: why a file was refused.
    QT_TRANSLATE_NOOP("CoreText", "The file is too large to be a melody (more than %1 MB)."),
    QT_TRANSLATE_NOOP("CoreText",
                      "The compressed MusicXML file is not a readable zip archive (%1)."),
    QT_TRANSLATE_NOOP("CoreText", "The compressed MusicXML file holds more than %1 files."),
    QT_TRANSLATE_NOOP("CoreText", "The compressed MusicXML file has no %1."),
    QT_TRANSLATE_NOOP("CoreText",
                      "The compressed MusicXML file unpacks %1 to more than %2 MB (a zip bomb); "
                      "it is refused."),
    QT_TRANSLATE_NOOP("CoreText", "%1 is too large."),
    QT_TRANSLATE_NOOP("CoreText", "The compressed MusicXML file cannot unpack %1 (%2)."),
    QT_TRANSLATE_NOOP("CoreText", "The compressed MusicXML file is damaged (%1)."),
    QT_TRANSLATE_NOOP("CoreText", "The compressed MusicXML file's %1 cannot be read (%2)."),
    QT_TRANSLATE_NOOP("CoreText", "The compressed MusicXML file's %1 names no MusicXML score."),
    QT_TRANSLATE_NOOP("CoreText", "The MusicXML score has no part."),
    QT_TRANSLATE_NOOP("CoreText",
                      "The MusicXML score has more than %1 notes, more than a score can hold."),
    QT_TRANSLATE_NOOP("CoreText", "The file cannot be read as MusicXML: %1."),
    QT_TRANSLATE_NOOP("CoreText", "The file is not well-formed XML (%1)."),
    QT_TRANSLATE_NOOP("CoreText", "Time-wise MusicXML cannot be read; please export it part-wise."),
    QT_TRANSLATE_NOOP("CoreText", "The file is not a MusicXML score (its root element is <%1>)."),
    QT_TRANSLATE_NOOP("CoreText", "elements are nested too deeply"),
    QT_TRANSLATE_NOOP("CoreText", "the file has too many elements"),
    QT_TRANSLATE_NOOP("CoreText", "the file declares entities, which are not accepted"),
    QT_TRANSLATE_NOOP("CoreText", "out of memory"),
    // MusicXML import: the report's lines are listed with bullets.
    QT_TRANSLATE_NOOP("CoreText", "• %1"),
    // MusicXML import: what was dropped or changed (a line of the import report).
    QT_TRANSLATE_NOOP("CoreText",
                      "Repeats are played twice, whatever number of times they ask for"),
    QT_TRANSLATE_NOOP("CoreText",
                      "Endings other than the first were dropped (their notes are kept)"),
    QT_TRANSLATE_NOOP("CoreText",
                      "Chord symbols without a root (functions, numerals) were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Chord symbols with an unreadable root were dropped"),
    QT_TRANSLATE_NOOP("CoreText",
                      "Double sharps and flats in chord roots were written as single ones"),
    QT_TRANSLATE_NOOP("CoreText", "Chord kinds we have no symbol for were written by name"),
    QT_TRANSLATE_NOOP("CoreText", "Rests were added where the first voice is silent"),
    QT_TRANSLATE_NOOP("CoreText", "Notes and rests too short for any cell were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Durations no cell can hold were rounded"),
    QT_TRANSLATE_NOOP("CoreText", "Ties after triplet notes were dropped (the notes sound apart)"),
    QT_TRANSLATE_NOOP("CoreText", "Notes and rests were written as other cells of the same length"),
    QT_TRANSLATE_NOOP("CoreText", "Tempo changes after the first tempo were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Dynamics and other directions were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Key signatures were not kept (the notes keep their pitches)"),
    QT_TRANSLATE_NOOP("CoreText", "A time signature not counted in quarter notes was rounded"),
    QT_TRANSLATE_NOOP("CoreText", "Time signature changes were dropped (the bar lines stay)"),
    QT_TRANSLATE_NOOP("CoreText", "Transpositions other than Bb and Eb were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Microtonal alterations were rounded"),
    QT_TRANSLATE_NOOP("CoreText", "Pitches outside A0..C2 were moved by octaves into the range"),
    QT_TRANSLATE_NOOP("CoreText", "Pitches with a spelling we do not have were respelled"),
    QT_TRANSLATE_NOOP("CoreText", "Grace notes were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Chord notes beyond the first note of a chord were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Notes of other voices were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Notes without a readable length were dropped"),
    QT_TRANSLATE_NOOP("CoreText",
                      "Notes of the first voice that overlap the note before were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Slurs, articulations and other note markings were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Lyrics were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Unpitched notes became rests"),
    QT_TRANSLATE_NOOP("CoreText", "Notes without a pitch became rests"),
    QT_TRANSLATE_NOOP("CoreText", "Cue notes became rests"),
    QT_TRANSLATE_NOOP("CoreText", "Notes with an unreadable pitch became rests"),
    QT_TRANSLATE_NOOP("CoreText",
                      "Chord symbols and texts that found their column taken were moved right"),
    QT_TRANSLATE_NOOP("CoreText", "Chord symbols beyond %1 characters on a line were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Parts after the first were dropped"),
    QT_TRANSLATE_NOOP("CoreText", "Bar line styles were drawn as plain bar lines"),
    QT_TRANSLATE_NOOP(
        "CoreText",
        "Clefs other than the treble clef were not kept (the notes keep their pitches)"),
    QT_TRANSLATE_NOOP("CoreText", "The tempo %1 was set to %2, the nearest tempo a score offers."),
    QT_TRANSLATE_NOOP("CoreText", "%1 beat to the bar was set to %2, the nearest a score offers."),
    QT_TRANSLATE_NOOP("CoreText",
                      "%1 beats to the bar were set to %2, the nearest a score offers."),
};

// A line of the import report: what, the bars where it happened, and how often (the last part
// is always a number).
const char* const kReportLines[] = {
    QT_TRANSLATE_NOOP("CoreText", "%1: %2."),
    QT_TRANSLATE_NOOP("CoreText", "%1 (bar %2): %3."),
    QT_TRANSLATE_NOOP("CoreText", "%1 (bars %2): %3."),
};

// A sentence made of a lower-case reason (the refused file's detail).
const char* const kSentence = QT_TRANSLATE_NOOP("CoreText", "%1.");

struct Template {
    QString source;
    QRegularExpression pattern;
    int literalLength = 0;
};

// The templates with parts, most literal text first so the most specific one wins.
const QList<Template>& templates() {
    static const QList<Template> list = [] {
        QList<Template> out;
        static const QRegularExpression marker(QStringLiteral("%([1-9])"));
        auto add = [&out](const char* text, bool counted) {
            const QString source = QString::fromUtf8(text);
            if (!source.contains(marker)) return;
            QString pattern = QStringLiteral("^");
            int literal = 0;
            qsizetype at = 0;
            for (auto it = marker.globalMatch(source); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                const QString before = source.mid(at, m.capturedStart() - at);
                const bool last = !it.hasNext();
                pattern += QRegularExpression::escape(before) +
                           (counted && last ? QStringLiteral("(\\d+)") : QStringLiteral("(.+?)"));
                literal += static_cast<int>(before.size());
                at = m.capturedEnd();
            }
            pattern += QRegularExpression::escape(source.mid(at)) + QStringLiteral("$");
            literal += static_cast<int>(source.size() - at);
            out.push_back({source, QRegularExpression(pattern), literal});
        };
        for (const char* text : kCoreTexts) add(text, false);
        for (const char* text : kReportLines) add(text, true);
        std::stable_sort(out.begin(), out.end(), [](const Template& a, const Template& b) {
            return a.literalLength > b.literalLength;
        });
        return out;
    }();
    return list;
}

// Fills %1.. in one pass, so a part that holds "%2" stays as it is.
QString fill(const QString& text, const QStringList& parts) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('%') && i + 1 < text.size() && text[i + 1] >= QLatin1Char('1') &&
            text[i + 1] <= QLatin1Char('9')) {
            const qsizetype n = text[i + 1].unicode() - '1';
            if (n < parts.size()) {
                out += parts[n];
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

class Translator {
  public:
    bool changed = false;

    QString translate(const QString& text, int depth = 0) {
        if (text.isEmpty() || depth > 8) return text;
        if (const auto t = lookUp(text)) return *t;
        for (const Template& t : templates()) {
            const QRegularExpressionMatch m = t.pattern.match(text);
            if (!m.hasMatch()) continue;
            QStringList parts;
            for (int i = 1; i <= m.lastCapturedIndex(); ++i)
                parts << translate(m.captured(i), depth + 1);
            return fill(lookUp(t.source).value_or(t.source), parts);
        }
        // Several lines: each on its own.
        if (text.contains(QLatin1Char('\n'))) {
            QStringList lines = text.split(QLatin1Char('\n'));
            for (QString& line : lines) line = translate(line, depth + 1);
            return lines.join(QLatin1Char('\n'));
        }
        // A reason made into a sentence: "Line 3: ..." from "line 3: ...".
        if (text.size() > 1 && text.endsWith(QLatin1Char('.')) && text[0].isUpper()) {
            const QString reason = text.front().toLower() + text.mid(1, text.size() - 2);
            const bool before = changed;
            const QString inner = translate(reason, depth + 1);
            if (inner != reason)
                return fill(lookUp(QString::fromUtf8(kSentence)).value_or(text), {inner});
            changed = before;
        }
        return text;
    }

  private:
    std::optional<QString> lookUp(const QString& source) {
        const QByteArray key = source.toUtf8();
        const QString t = QCoreApplication::translate(kContext, key.constData());
        if (t == source) return std::nullopt;
        changed = true;
        return t;
    }
};

}  // namespace

QString coreText(const QString& text) {
    Translator translator;
    const QString out = translator.translate(text);
    // Nothing translated: the text exactly as the core wrote it.
    return translator.changed ? out : text;
}

QString coreText(const std::string& text) {
    return coreText(QString::fromStdString(text));
}

}  // namespace sorvel::gui
