// The score window's fields and controls: what they let into the score and where the
// keyboard goes after them.
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>

#include "test_support.h"

namespace sorvel::test {
namespace {

TEST(ScoreWindowFields, PastedLineBreaksInAChordFieldBecomeBlanks) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    auto* field = w->findChild<QLineEdit*>("cdText1");
    ASSERT_NE(field, nullptr);
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("C\n17,5"), QStringLiteral("C 17,5")},
        {QStringLiteral("C\rG7"), QStringLiteral("C G7")},
        {QString::fromUtf8("Am\xE2\x80\xA8"
                           "F"),
         QStringLiteral("Am F")},
        {QString::fromUtf8("Dm\xE2\x80\xA9G\xC2\x85"
                           "C"),
         QStringLiteral("Dm G C")},
    };
    for (const auto& [pasted, shown] : cases) {
        SCOPED_TRACE(shown.toStdString());
        QGuiApplication::clipboard()->setText(pasted);
        field->setFocus();
        field->selectAll();
        field->paste();
        EXPECT_EQ(field->text(), shown);
        EXPECT_EQ(d.cdText[0], shown.toStdString());
    }
    w->scoreArea()->setFocus();
    EXPECT_EQ(d.codeData[0], "Dm G C");
}

}  // namespace
}  // namespace sorvel::test
