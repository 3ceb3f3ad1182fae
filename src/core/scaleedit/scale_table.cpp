#include "scaleedit/scale_table.h"

#include <algorithm>
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

// The rows of the file at path, or why it holds no usable table.
Result<std::vector<ScaleRow>> readScaleFile(const std::string& path) {
    using Rows = Result<std::vector<ScaleRow>>;
    const Result<std::string> file = readFileBytes(path, kMaxScaleTableBytes);
    if (!file) return Rows::failure(file.reason());
    if (const auto bad = firstInvalidUtf8(file.value())) {
        return Rows::failure("\"" + path + "\" is not UTF-8 text (invalid byte at offset " +
                             std::to_string(*bad) + ").");
    }
    std::vector<ScaleRow> rows = parseScaleRows(file.value());
    if (rows.size() > kMaxScaleRows) {
        return Rows::failure("\"" + path + "\" has more than " + std::to_string(kMaxScaleRows) +
                             " rows, too many for a pattern table.");
    }
    return rows;
}

ScaleRow twoFields(const ScaleRow& row) {
    return {row.empty() ? std::string() : row[0], row.size() > 1 ? row[1] : std::string()};
}

std::vector<ScaleRow> twoFields(const std::vector<ScaleRow>& rows) {
    std::vector<ScaleRow> out;
    out.reserve(rows.size());
    for (const ScaleRow& row : rows) out.push_back(twoFields(row));
    return out;
}

bool removeOne(std::vector<ScaleRow>& rows, const ScaleRow& row) {
    const auto it = std::find(rows.begin(), rows.end(), row);
    if (it == rows.end()) return false;
    rows.erase(it);
    return true;
}

// The rows of `from` that `minus` does not have, counting duplicates.
std::vector<ScaleRow> rowsNotIn(std::vector<ScaleRow> from, const std::vector<ScaleRow>& minus) {
    for (const ScaleRow& row : minus) removeOne(from, row);
    return from;
}

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

std::vector<ScaleRow> mergeScaleRows(const std::vector<ScaleRow>& base,
                                     const std::vector<ScaleRow>& ours,
                                     const std::vector<ScaleRow>& theirs) {
    const std::vector<ScaleRow> b = twoFields(base), o = twoFields(ours), t = twoFields(theirs);
    std::vector<ScaleRow> merged = o;
    for (const ScaleRow& row : rowsNotIn(b, t)) removeOne(merged, row);
    std::vector<ScaleRow> oursAdded = rowsNotIn(o, b);
    for (const ScaleRow& row : rowsNotIn(t, b)) {
        if (!removeOne(oursAdded, row)) merged.push_back(row);
    }
    return merged;
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
    readRows_.clear();
    readFailed_ = false;
    readFrom_ = path;
    readError_.clear();
    Result<std::vector<ScaleRow>> rows = readScaleFile(path);
    if (!rows) {
        readFailed_ = true;
        readError_ = rows.reason();
        diag(rows.reason() + " The pattern table starts empty and will not be written at quit.");
        return;
    }
    defItem = std::move(rows).value();
    readRows_ = defItem;
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
    if (!std::filesystem::exists(path, ec)) return write(path, defItem, writer, alerts);
    if (!std::filesystem::equivalent(path, readFrom_, ec)) {
        diag("The new set folder keeps its own " + path);
        return false;
    }
    if (defItem == readRows_) {
        diag("The pattern table is unchanged; " + path + " is left as it is.");
        return false;
    }
    const Result<std::vector<ScaleRow>> onDisk = readScaleFile(path);
    if (!onDisk) {
        diag(onDisk.reason() + " Not writing " + path);
        alerts.showAlert("The pattern table could not be saved.",
                         onDisk.reason() +
                             "\n\nThe file changed since start-up and is left as it is; the "
                             "changes made to the table in this session are not saved.");
        return false;
    }
    if (onDisk.value() == readRows_) return write(path, defItem, writer, alerts);
    diag(path + " changed since start-up; its new rows are kept with this session's.");
    return write(path, mergeScaleRows(readRows_, defItem, onDisk.value()), writer, alerts);
}

bool ScaleTable::write(const std::string& path, const std::vector<ScaleRow>& rows,
                       TextFileWriter& writer, Alerts& alerts) {
    if (const auto error = writer.writeFile(path, scaleRowsText(rows))) {
        diag("Could not write " + path + ": " + *error);
        alerts.showAlert("The pattern table could not be saved.", *error);
        return false;
    }
    return true;
}

}  // namespace sorvel
