// sorvel-convert: writes a score file as printed pages (PDF), MusicXML (plain or compressed),
// MIDI or WAV, and a MusicXML file as a score file, without a display.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/document.h"
#include "app/exchange_file.h"
#include "app_resources.h"
#include "atomic_file.h"
#include "model/diagnostics.h"
#include "model/score.h"
#include "model/score_file.h"
#include "print_support.h"
#include "wav_file.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the input could not be read or the output not written
constexpr int kExitUsage = 2;   // unknown option, missing argument

const char* const kUsage =
    "Usage: sorvel-convert [options] IN.txt OUT.pdf|OUT.musicxml|OUT.xml|OUT.mxl|OUT.mid|OUT.wav\n"
    "       sorvel-convert IN.musicxml|IN.xml|IN.mxl OUT.txt\n"
    "Writes a Sorvel Score file as the pages File > Print lays out (PDF), as MusicXML (.mxl:\n"
    "compressed), as a Standard MIDI File or as a WAV recording of what playback plays; or\n"
    "reads a MusicXML melody, plain or compressed, into a Sorvel Score file. The output's\n"
    "extension chooses the format.\n"
    "\n"
    "Options:\n"
    "  --paper a4|letter   paper size (default: a4)\n"
    "  --images SET        picture set to print under the notes (default: the score's own)\n"
    "  --set-folder DIR    folder holding the picture sets (default: \"set\" beside this program)\n"
    "  -h, --help          show this help\n"
    "  --version           show the version\n"
    "\n"
    "Exit status: 0 written, 1 the input could not be read or the output not written,\n"
    "2 bad usage.\n";

struct Options {
    std::string input, output, paper = "a4", images, setFolder;
    bool help = false, version = false;
};

void complain(const std::string& text) {
    std::fprintf(stderr, "sorvel-convert: %s\n", text.c_str());
}

// Parses the arguments; false with a message on bad usage.
bool parseArguments(const std::vector<std::string>& args, Options& out) {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        if (a == "-h" || a == "--help") {
            out.help = true;
            continue;
        }
        if (a == "--version") {
            out.version = true;
            continue;
        }
        std::string name = a, value;
        bool hasValue = false;
        if (const auto eq = a.find('='); eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
            hasValue = true;
        }
        std::string* target = name == "--paper"        ? &out.paper
                              : name == "--images"     ? &out.images
                              : name == "--set-folder" ? &out.setFolder
                                                       : nullptr;
        if (!target) {
            complain("unknown option " + a);
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                complain("option " + name + " needs a value");
                return false;
            }
            value = args[++i];
        }
        if (value.empty()) {
            complain("option " + name + " needs a value");
            return false;
        }
        *target = value;
    }
    if (out.help || out.version) return true;
    if (positional.size() != 2) {
        complain(positional.size() < 2 ? "give the score file and the output file"
                                       : "too many files: give one input file and one output file");
        return false;
    }
    out.input = positional[0];
    out.output = positional[1];
    return true;
}

// Qt's notes about the session (no runtime folder on a headless machine) mean nothing here.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
}

bool samePath(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec)) return true;
    return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

bool hasExtension(const std::string& path, const char* ext) {
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix();
    return suffix.compare(QLatin1String(ext), Qt::CaseInsensitive) == 0;
}

// Writes the whole file or leaves what was there; false with a message.
bool writeWhole(const std::string& path, const std::string& bytes) {
    if (const auto why = sorvel::gui::writeFileAtomically(QString::fromStdString(path), bytes)) {
        complain("cannot write " + path + ": " + why->toStdString());
        return false;
    }
    return true;
}

std::string readRejection(const sorvel::ScoreParseResult& parsed) {
    std::string why = parsed.rejection == sorvel::ScoreRejection::UnknownFormat
                          ? "not a Sorvel Score file"
                          : parsed.error;
    if (parsed.rejection == sorvel::ScoreRejection::UnknownFormat && !parsed.error.empty()) {
        why += " (" + parsed.error + ")";
    }
    return why;
}

// MusicXML in, score file out; what could not be carried over goes to stderr, one line each.
int importToScoreFile(const Options& opt) {
    const sorvel::Result<std::string> bytes = sorvel::readFileBytes(opt.input);
    if (!bytes) {
        complain("cannot read " + opt.input + ": " + bytes.reason());
        return kExitFailed;
    }
    const auto imported = sorvel::exchange::importScore(bytes.value());
    if (!imported) {
        complain("cannot read " + opt.input + ": " + imported.reason());
        return kExitFailed;
    }
    for (const std::string& note : imported.value().notes) complain("note: " + note);
    if (!imported.value().title.empty()) {
        complain("note: The title \"" + imported.value().title + "\" is not kept in a score file.");
    }
    const sorvel::Score& score = imported.value().score;
    if (!writeWhole(opt.output, sorvel::scoreFileText(score))) return kExitFailed;
    std::printf("%s: %zu cells\n", opt.output.c_str(), score.musicData.size());
    return kExitOk;
}

// Score file in, MusicXML, MIDI or WAV out.
int exportScore(const Options& opt, sorvel::exchange::ExportFormat format) {
    const sorvel::ScoreParseResult parsed = sorvel::loadScoreFile(opt.input);
    if (!parsed.score) {
        complain("cannot read " + opt.input + ": " + readRejection(parsed));
        return kExitFailed;
    }
    const sorvel::Score& score = *parsed.score;
    const std::string title =
        QFileInfo(QString::fromStdString(sorvel::lastPathComponent(opt.input)))
            .completeBaseName()
            .toStdString();
    // The pitch table playback uses, tuned to the score's reference pitch.
    const std::vector<float> table = sorvel::tuningTable(score.settings.referencePitch);
    if (format == sorvel::exchange::ExportFormat::Wav) {
        // Streamed to disk as it is rendered: a long recording never sits in memory whole.
        sorvel::exchange::WavOptions options;
        options.freqArr = table;
        const QString path = QString::fromStdString(opt.output);
        if (const auto failed = sorvel::gui::exportWav(path, score, options)) {
            complain(
                (failed->refused ? "cannot convert " + opt.input : "cannot write " + opt.output) +
                ": " + failed->why.toStdString());
            return kExitFailed;
        }
        std::printf("%s: %lld bytes\n", opt.output.c_str(),
                    static_cast<long long>(QFileInfo(path).size()));
        return kExitOk;
    }
    const sorvel::Result<std::string> bytes =
        sorvel::exchange::exportBytes(score, format, title, table);
    if (!bytes) {
        complain("cannot convert " + opt.input + ": " + bytes.reason());
        return kExitFailed;
    }
    if (!writeWhole(opt.output, bytes.value())) return kExitFailed;
    std::printf("%s: %zu bytes\n", opt.output.c_str(), bytes.value().size());
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    Options opt;
    if (!parseArguments(args, opt)) {
        std::fputs("Try 'sorvel-convert --help'.\n", stderr);
        return kExitUsage;
    }
    if (opt.help) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (opt.version) {
        std::printf("sorvel-convert (%s)\n", sorvel::printFooterLine().c_str());
        return kExitOk;
    }
    const auto paper = sorvel::gui::paperFromName(QString::fromStdString(opt.paper));
    if (!paper) {
        complain("unknown paper '" + opt.paper + "': use a4 or letter");
        return kExitUsage;
    }
    if (samePath(opt.input, opt.output)) {
        complain("the output would overwrite the input file " + opt.input);
        return kExitUsage;
    }

    // The per-cell and page drawing lines are for the application's console, not for a
    // converter's output.
    sorvel::setDiagnosticSink([](std::string_view) {});

    if (hasExtension(opt.output, "txt")) {
        if (!hasExtension(opt.input, "musicxml") && !hasExtension(opt.input, "xml") &&
            !hasExtension(opt.input, "mxl")) {
            complain("a score file is written from MusicXML: give IN.musicxml, IN.xml or IN.mxl");
            return kExitUsage;
        }
        return importToScoreFile(opt);
    }
    if (const auto format = sorvel::exchange::exportFormatOf(opt.output)) {
        return exportScore(opt, *format);
    }
    if (!hasExtension(opt.output, "pdf")) {
        complain("unknown output type " + opt.output +
                 ": use .pdf, .musicxml, .xml, .mxl, .mid, .wav or .txt");
        return kExitUsage;
    }

    const sorvel::ScoreParseResult parsed = sorvel::loadScoreFile(opt.input);
    if (!parsed.score) {
        complain("cannot read " + opt.input + ": " + readRejection(parsed));
        return kExitFailed;
    }

    // Nothing here needs a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    if (!sorvel::gui::loadAppResources()) {
        complain("warning: the notation font could not be loaded; notes use a fallback font");
    }

    std::string setFolder = opt.setFolder;
    if (setFolder.empty()) {
        setFolder = QDir(QCoreApplication::applicationDirPath()).filePath("set").toStdString();
    }
    const std::vector<std::string> sets = sorvel::listImageSets(setFolder);
    std::string imageSet = opt.images;
    if (imageSet.empty()) {
        const std::int64_t chosen = parsed.score->settings.imageSet;
        if (chosen >= 0 && chosen < static_cast<std::int64_t>(sets.size())) {
            imageSet = sets[static_cast<std::size_t>(chosen)];
        } else if (!sets.empty()) {
            imageSet = sets.front();
        }
    }
    // Missing pictures never stop the pages: say so and print the notes alone.
    if (sets.empty()) {
        complain("warning: no picture sets in " + setFolder + "; printing without pictures");
    } else if (std::find(sets.begin(), sets.end(), imageSet) == sets.end()) {
        complain("warning: no picture set '" + imageSet + "' in " + setFolder +
                 "; printing without pictures");
    }

    const sorvel::gui::ExportResult result = sorvel::gui::exportPdf(
        sorvel::PrintView(*parsed.score, sorvel::lastPathComponent(opt.input), setFolder, imageSet),
        QString::fromStdString(opt.output), sorvel::gui::defaultPageLayout(*paper));
    if (!result.ok) {
        complain(result.error.toStdString());
        return kExitFailed;
    }
    std::printf("%s: %lld page%s\n", opt.output.c_str(), static_cast<long long>(result.pages),
                result.pages == 1 ? "" : "s");
    return kExitOk;
}
