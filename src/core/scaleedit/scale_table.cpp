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

bool existsAt(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

std::vector<ScaleRow> parseScaleRows(std::string_view text) {
    std::vector<ScaleRow> rows;
    for (const std::string_view line : splitTextLines(text)) {
        if (line.empty()) continue;
        ScaleRow row;
        for (const std::string_view field : splitFields(line, ',')) row.emplace_back(field);
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
    Result<std::string> file = readFileBytes(path);
    if (file) {
        if (const auto bad = firstInvalidUtf8(file.value())) {
            file = Result<std::string>::failure("\"" + path +
                                                "\" is not UTF-8 text (invalid byte at offset " +
                                                std::to_string(*bad) + ").");
        }
    }
    if (!file) {
        readFailed_ = true;
        diag(file.reason() + " The pattern table starts empty and will not be written at quit.");
        return;
    }
    defItem = parseScaleRows(file.value());
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
