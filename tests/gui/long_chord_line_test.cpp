// A chord line is never cut: the field holds what the file held, and a save writes it whole.
#include <QLineEdit>

#include "test_support.h"

namespace sorvel::test {
namespace {

TEST(LongChordLine, FieldHoldsAndSavesTheWholeLine) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    std::string line;
    while (line.size() < 40000) line += "Cmaj7 Am7 ";
    d.open(Score{{{17, 5}}, {line}, {}});
    auto* field = w->findChild<QLineEdit*>("cdText1");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text().size(), static_cast<qsizetype>(line.size()));

    // An edit at the end keeps everything before it.
    field->setFocus();
    field->end(false);
    QTest::keyClicks(field, "G7");
    w->scoreArea()->setFocus();
    const std::string saved = testing::saveText(d);
    EXPECT_NE(saved.find("#" + line + "G7\n"), std::string::npos);
}

}  // namespace
}  // namespace sorvel::test
