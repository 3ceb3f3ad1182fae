#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app_test_ports.h"
#include "model/score_file.h"

namespace sorvel {
namespace {

using testing::TempDir;

TEST(ScoreFileIo, ReadsBytesExactly) {
    TempDir dir;
    const std::string bytes("<,sorvel2,0,3\r\n#\0x\n1,1\n", 22);
    const FileBytes r = readFileBytes(dir.write("s.txt", bytes));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.bytes, bytes);
    EXPECT_TRUE(readFileBytes(dir.write("empty.txt", "")).ok);
}

TEST(ScoreFileIo, UnreadablePathsSayWhy) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("folder"));
    struct Case {
        std::string path;
        std::string why;
    };
    const Case cases[] = {
        {dir.file("missing.txt"), "no such file"},
        {dir.file("folder"), "folder"},
        {"/dev/zero", "not a regular file"},
        {dir.file("missing/deeper.txt"), "no such file"},
    };
    for (const Case& c : cases) {
        const FileBytes r = readFileBytes(c.path);
        EXPECT_FALSE(r.ok) << c.path;
        EXPECT_TRUE(r.bytes.empty());
        EXPECT_NE(r.error.find(c.path), std::string::npos) << r.error;
        EXPECT_NE(r.error.find(c.why), std::string::npos) << r.error;

        const ScoreParseResult s = loadScoreFile(c.path);
        EXPECT_EQ(s.rejection, ScoreRejection::CannotOpen);
        EXPECT_EQ(rejectionMessage(s), "Can't open file \n\n" + r.error);
    }
}

TEST(ScoreFileIo, LoadsAScoreFromDisk) {
    TempDir dir;
    const ScoreParseResult r =
        loadScoreFile(dir.write("tune.txt", "<,sorvel2,0,3,440,0,0\r\n#C\r\n17,5\r\n"));
    ASSERT_TRUE(r.file.has_value()) << r.error;
    EXPECT_EQ(r.file->musicData, (std::vector<ScoreCell>{{17, 5}}));
    EXPECT_EQ(r.file->codeData, (std::vector<std::string>{"C"}));
}

}  // namespace
}  // namespace sorvel
