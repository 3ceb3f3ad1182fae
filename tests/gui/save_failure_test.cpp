// A save that cannot be made says why, with the path as it is, and leaves the old file as it
// was. The full disk and the read-only folder exist only inside the private mount namespace
// that the save-failure ctest entry sets up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <sys/stat.h>

#include <cstdlib>

#include "qt_ports.h"

namespace sorvel::gui {
namespace {

constexpr const char* kScore = "<,sorvel2,0,3,440,0,0\n17,5\n";

TEST(SaveFailure, SaysWhyWithThePath) {
    const char* readOnly = std::getenv("SORVEL_READ_ONLY_DIR");
    if (!readOnly) GTEST_SKIP() << "runs under the save-failure ctest entry";
    const struct {
        std::string path;
        std::string why;
    } cases[] = {
        {std::string(readOnly) + "/tune.txt", "read-only file system"},
        {"/proc/sorvel-tune.txt", "the folder is not on a disk (proc file system)"},
        {"/sys/sorvel-tune.txt", "permission denied"},
        {"/tmp/sorvel-no-such-folder/tune.txt", "no such folder"},
        {"/tmp/sorvel-save-pipe", "not a regular file"},
    };
    // A pipe (as a device would) stays what it is rather than being replaced by a file.
    const std::string pipe = "/tmp/sorvel-save-pipe";
    ::unlink(pipe.c_str());
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    QtTextFileWriter writer;
    for (const auto& c : cases) EXPECT_EQ(writer.writeFile(c.path, kScore), c.path + ": " + c.why);
    struct stat st {};
    EXPECT_TRUE(::stat(pipe.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
    ::unlink(pipe.c_str());
}

TEST(SaveFailure, SaysTheDiskIsFullAndKeepsTheOldFile) {
    const char* dir = std::getenv("SORVEL_FULL_DISK_DIR");
    if (!dir) GTEST_SKIP() << "runs under the save-failure ctest entry";
    // A name that QString::arg would rewrite.
    const std::string path = std::string(dir) + "/tune %1 %2.txt";
    QtTextFileWriter writer;
    ASSERT_EQ(writer.writeFile(path, kScore), std::nullopt);

    QFile filler(QString::fromStdString(std::string(dir) + "/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();

    const auto error = writer.writeFile(path, std::string(200000, '1'));
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->starts_with(path + ": the disk is full (200000 bytes needed, ")) << *error;
    QFile old(QString::fromStdString(path));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray(kScore));
}

// Markup in a file name shows as it is.
TEST(SaveFailure, AlertsShowPlainText) {
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        for (const QLabel* label : box->findChildren<QLabel*>()) {
            if (label->textFormat() == Qt::PlainText && !label->text().isEmpty())
                shown << label->text();
        }
        box->accept();
    });
    QtAlerts().showAlert("The file <b>big</b>.txt could not be opened.", "<a href=x>/tmp</a>");
    EXPECT_EQ(shown.join('|').toStdString(),
              "The file <b>big</b>.txt could not be opened.|<a href=x>/tmp</a>");
}

}  // namespace
}  // namespace sorvel::gui
