#include "scaleedit/scale_table.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "model/diagnostics.h"
#include "model/score_file.h"
#include "ports/alerts.h"
#include "ports/file_dialogs.h"
#include "ports/settings.h"
#include "ports/text_file_writer.h"

namespace sorvel {
namespace {

// Present also when the file is there but may not be looked at: reading it then says why,
// instead of start-up calling an unreadable set folder missing.
bool existsAt(const std::string& path) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    return exists || ec == std::errc::permission_denied;
}

// Real tables hold a few dozen rows; anything this large is no pattern table.
constexpr std::uintmax_t kMaxScaleTableBytes = 4u * 1024u * 1024u;
constexpr std::size_t kMaxScaleRows = 10000;

}  // namespace

std::vector<ScaleRow> parseScaleRows(std::string_view text) {
    std::vector<ScaleRow> rows;
    TextLines lines(text);
    while (const auto next = lines.next()) {
        const std::string_view line = *next;
        if (line.empty()) continue;
        // Only the name and the offsets are used and written back; further fields are
        // dropped so that a row of a million commas costs nothing.
        const std::size_t comma = line.find(',');
        ScaleRow row{std::string(line.substr(0, comma))};
        if (comma != std::string_view::npos) {
            const std::string_view rest = line.substr(comma + 1);
            row.emplace_back(rest.substr(0, rest.find(',')));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string scaleRowsText(const std::vector<ScaleRow>& rows) {
    std::string out;
    for (const ScaleRow& row : rows) {
        if (!row.empty()) out += row[0];
        out += ',';
        if (row.size() > 1) out += row[1];
        out += '\n';
    }
    return out;
}

bool ScaleTable::startUp(const std::string& appFolder, Settings& settings, FileDialogs& dialogs,
                         Alerts& alerts) {
    found_ = false;
    readFailed_ = false;
    defItem.clear();
    diag(appFolder);
    filePath = settings.has(kFilePassKey) ? settings.get(kFilePassKey) + "/scale.csv"
                                          : appFolder + "/set/scale.csv";
    diag(filePath);
    if (existsAt(filePath)) {
        diag("ファイルあり0、FILE AVAILABLE");
        found_ = true;
        read(filePath);
        reportReadFailure(alerts);
        return true;
    }

    const std::optional<std::string> chosen =
        dialogs.chooseFolder(std::string(kChooseSetFolderMessage));
    if (chosen) {
        diag(*chosen);
        if (existsAt(*chosen + "/scale.csv")) {
            diag("ファイルあり1、FILE AVAILABLE");
            settings.set(kFilePassKey, *chosen);
            settings.sync();
            filePath = *chosen + "/scale.csv";
            found_ = true;
            read(filePath);
            reportReadFailure(alerts);
            return true;
        }
    }
    filePath = "NO";
    alerts.showAlert(std::string(kNoSetFolderAlert));
    return false;
}

void ScaleTable::read(const std::string& path) {
    defItem.clear();
    readFailed_ = false;
    readFrom_ = path;
    readError_.clear();
    Result<std::string> file = readFileBytes(path, kMaxScaleTableBytes);
    if (file) {
        if (const auto bad = firstInvalidUtf8(file.value())) {
            file = Result<std::string>::failure("\"" + path +
                                                "\" is not UTF-8 text (invalid byte at offset " +
                                                std::to_string(*bad) + ").");
        }
    }
    if (file) {
        defItem = parseScaleRows(file.value());
        if (defItem.size() > kMaxScaleRows) {
            defItem.clear();
            file = Result<std::string>::failure("\"" + path + "\" has more than " +
                                                std::to_string(kMaxScaleRows) +
                                                " rows, too many for a pattern table.");
        }
    }
    if (!file) {
        readFailed_ = true;
        readError_ = file.reason();
        diag(file.reason() + " The pattern table starts empty and will not be written at quit.");
    }
}

void ScaleTable::reportReadFailure(Alerts& alerts) const {
    if (!readFailed_) return;
    alerts.showAlert("The pattern table could not be read.",
                     readError_ +
                         "\n\nChord symbols find no patterns until it is mended, and "
                         "the file is left as it is.");
}

bool ScaleTable::writeBack(const std::string& setFolder, TextFileWriter& writer,
                           Alerts& alerts) const {
    const std::string path = setFolder + "/scale.csv";
    if (!canWriteBack()) {
        diag("scale.csv was not read at start-up; not writing " + path);
        return false;
    }
    // A newly chosen set folder that has a table of its own keeps it: that table is the
    // one the next start reads.
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !std::filesystem::equivalent(path, readFrom_, ec)) {
        diag("The new set folder keeps its own " + path);
        return false;
    }
    if (const auto error = writer.writeFile(path, scaleRowsText(defItem))) {
        diag("Could not write " + path + ": " + *error);
        alerts.showAlert("The pattern table could not be saved.", *error);
        return false;
    }
    return true;
}

}  // namespace sorvel
