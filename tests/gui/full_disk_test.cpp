// A save onto a full disk says so and leaves the old file as it was. Runs only inside the
// private mount namespace that the full-disk ctest entry sets up with a tiny tmpfs.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <cstdlib>

#include "qt_ports.h"

namespace sorvel::gui {
namespace {

TEST(FullDisk, SaveSaysTheDiskIsFullAndKeepsTheOldFile) {
    const char* dir = std::getenv("SORVEL_FULL_DISK_DIR");
    if (!dir) GTEST_SKIP() << "runs under the full-disk ctest entry";
    const std::string path = std::string(dir) + "/tune.txt";
    QtTextFileWriter writer;
    ASSERT_EQ(writer.writeFile(path, "<,sorvel2,0,3,440,0,0\n17,5\n"), std::nullopt);

    QFile filler(QString::fromStdString(std::string(dir) + "/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();

    const auto error = writer.writeFile(path, std::string(200000, '1'));
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("the disk is full"), std::string::npos) << *error;
    QFile old(QString::fromStdString(path));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("<,sorvel2,0,3,440,0,0\n17,5\n"));
}

}  // namespace
}  // namespace sorvel::gui
