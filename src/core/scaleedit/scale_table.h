#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sorvel {

class Alerts;
class FileDialogs;
class Settings;
class TextFileWriter;

inline constexpr std::string_view kChooseSetFolderMessage = "select \"SET\" data folder";
inline constexpr std::string_view kNoSetFolderAlert =
    "Can't find \"SET\" data .\n\nPlease check the location of the \"set\" folder \nand launch "
    "Sorvel Score again .\n\nBye!";

// One pattern: field 0 the name, field 1 the semitone offsets.
using ScaleRow = std::vector<std::string>;

// Rows of scale.csv: any newline ends a line, empty lines are skipped, fields split at ",";
// fields after the second are dropped.
std::vector<ScaleRow> parseScaleRows(std::string_view text);

// The text written back: field 0, ",", field 1 and LF per row; a missing field is empty.
std::string scaleRowsText(const std::vector<ScaleRow>& rows);

// Our rows with another copy's changes to the same file since we read it (base): rows it
// added are appended unless we added the same, rows it deleted are gone. Rows are compared
// by their two fields, a missing one counting as empty.
std::vector<ScaleRow> mergeScaleRows(const std::vector<ScaleRow>& base,
                                     const std::vector<ScaleRow>& ours,
                                     const std::vector<ScaleRow>& theirs);

// The pattern table of scale.csv in the set folder, from start-up to quit.
class ScaleTable {
  public:
    // Finds scale.csv (filePass, else the application folder's "set"; else asks for the set
    // folder) and reads it. False when no set folder holds it: the alert has been shown and
    // the application must quit.
    bool startUp(const std::string& appFolder, Settings& settings, FileDialogs& dialogs,
                 Alerts& alerts);

    // Reads the rows at path. A file that cannot be read or is not UTF-8 leaves the table
    // empty and marks it so that quit does not replace the file.
    void read(const std::string& path);

    bool readFailed() const { return readFailed_; }
    // Start-up found scale.csv and read it, so writing back cannot lose a table.
    bool canWriteBack() const { return found_ && !readFailed_; }

    // Writes the table to setFolder + "/scale.csv" when it changed in this run or the folder
    // has none. A file changed on disk since start-up (another copy of the application, an
    // edit by hand) is merged with the table, not overwritten. Skipped (with a diagnostic
    // line) when it must not be written; a failed write gives a diagnostic line and an
    // alert. True when the file was written.
    bool writeBack(const std::string& setFolder, TextFileWriter& writer, Alerts& alerts) const;

    std::vector<ScaleRow> defItem;
    std::string filePath;

  private:
    // Tells the user why the table found at start-up could not be used.
    void reportReadFailure(Alerts& alerts) const;
    static bool write(const std::string& path, const std::vector<ScaleRow>& rows,
                      TextFileWriter& writer, Alerts& alerts);

    std::string readFrom_;            // the file the table was read from
    std::string readError_;           // why it could not be read
    std::vector<ScaleRow> readRows_;  // the rows it held then
    bool found_ = false;
    bool readFailed_ = false;
};

}  // namespace sorvel
