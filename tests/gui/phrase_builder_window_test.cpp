// The phrase builder window, driven through its buttons, fields and table; the note button
// pictures drawn at build time that it shows; and the cache that holds pictures at the size
// they are drawn.
#include "phrase_builder_window.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QImage>
#include <QSet>
#include <QTableView>

#include "qt_canvas.h"
#include "test_support.h"

namespace sorvel {
namespace {

using gui::PhraseBuilderWindow;
using gui::PictureCache;
using phrase::Clef;
using test::click;

class PhraseWindowTest : public ::testing::Test {
  protected:
    PhraseWindowTest() : builder(table), window(builder, alerts) {
        table.defItem = {{"maj", "0:4:7"}, {"m7", "0:3:7:10"}, {"7", "0:4:7:10"}};
        window.tableModel().reload();
        window.setScore(&score);
        window.show();
    }
    template <typename T>
    T* child(const char* name) {
        T* w = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char* name) {
        auto* f = child<QLineEdit>(name);
        return f ? f->text() : QString();
    }

    ScaleTable table;
    PhraseBuilder builder;
    testing::FakeAlerts alerts;
    testing::FakePhraseScore score;
    PhraseBuilderWindow window;
};

TEST_F(PhraseWindowTest, BuildsAPhraseFromButtonsAndChordsAndSendsIt) {
    click(window, {"setMain"});  // an empty line is not sent, and the window says why
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(child<QLabel>("message")->text().contains("empty"));
    click(window, {"note_C0", "note_E0", "note_G0#"});
    EXPECT_EQ(text("editField"), "C0 E0 G0#");
    click(window, {"downBtn"});
    EXPECT_EQ(text("editField"), "B1 D0# G0");

    auto* chords = child<QLineEdit>("cdFld");
    ASSERT_NE(chords, nullptr);
    chords->setFocus();
    QTest::keyClicks(chords, "Dm7 H7 G");
    click(window, {"intScale"});
    EXPECT_EQ(text("editField"), "B1 D0# G0 D0 F0 A0 C1 | G0 B0 D1 |");

    click(window, {"addBtn"});
    // Typed text in the line counts (how the line reads is the builder's).
    auto* line = child<QLineEdit>("editLineFld");
    line->setFocus();
    line->end(false);
    QTest::keyClicks(line, " |: zz");
    click(window, {"setMain"});
    ASSERT_EQ(score.appended.size(), 13u);
    EXPECT_EQ(score.appended.back(), (ScoreCell{17, 26}));
    EXPECT_FALSE(window.isVisible());  // sending closes the window
    window.show();
    EXPECT_EQ(builder.line, ",B1,D0#,G0,D0,F0,A0,C1,00,G0,B0,D1,00,01,zz");  // the line stays
}

TEST_F(PhraseWindowTest, CircleAndClefAndPlay) {
    click(window, {"note_C0", "circle4thKanniBtn"});
    EXPECT_EQ(text("editLineFld"), "C0 | F0 | B0 | E1 | A1 | D0 | G0");
    EXPECT_EQ(text("editField"), "G0");

    auto* note = child<QPushButton>("note_A1#");
    ASSERT_NE(note, nullptr);
    const QImage treble = note->icon().pixmap(26, 56).toImage();
    click(window, {"TOonHeon"});
    EXPECT_NE(note->icon().pixmap(26, 56).toImage(), treble);
    // The clef changes the picture, not the note.
    note->click();
    EXPECT_EQ(text("editField"), "G0 A1#");

    click(window, {"soundBtn"});
    EXPECT_EQ(score.played, (std::vector<ScoreCell>{{14, 5}, {35, 5}}));
}

TEST_F(PhraseWindowTest, TableEditsAddAndDelete) {
    auto* view = child<QTableView>("tblView");
    ASSERT_NE(view, nullptr);
    auto& model = window.tableModel();
    EXPECT_TRUE(model.setData(model.index(2, 0), "dom", Qt::EditRole));
    // A refused edit (which ones is the builder's) leaves the row and says why.
    EXPECT_FALSE(model.setData(model.index(2, 1), "0,4", Qt::EditRole));
    EXPECT_EQ(table.defItem[2], (ScaleRow{"dom", "0:4:7:10"}));
    EXPECT_FALSE(child<QLabel>("message")->text().isEmpty());

    click(window, {"delCode"});  // nothing selected
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].informative, "コードを選択してください");
    EXPECT_EQ(model.rowCount(), 3);

    click(window, {"addCode"});
    EXPECT_EQ(model.data(model.index(3, 1), Qt::DisplayRole).toString(), "NEW");

    view->selectRow(0);
    click(window, {"delCode"});
    EXPECT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(table.defItem,
              (std::vector<ScaleRow>{{"m7", "0:3:7:10"}, {"dom", "0:4:7:10"}, {"NEW", "NEW"}}));
}

// The build writes bin/notes beside bin/set.
QString notesFolder() {
    return QDir(QString::fromStdString(test::setFolder()))
        .absoluteFilePath(QStringLiteral("../notes"));
}

QImage normalised(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Equal but for the antialiasing of a glyph, which depends on what the process drew before.
bool alike(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 16) return false;
    return true;
}

// Note button i's icon as the button would draw it at its full size.
QImage iconImage(const PhraseBuilderWindow& window, std::size_t i) {
    const std::string name = "note_" + std::string(phrase::cdArr[i]);
    auto* button = window.findChild<QPushButton*>(QString::fromStdString(name));
    EXPECT_NE(button, nullptr) << name;
    return button ? normalised(button->icon().pixmap(QSize(104, 224)).toImage()) : QImage();
}

// The file the build drew for note button i in a clef.
QString builtFile(std::size_t i, bool bass) {
    const std::string file = phrase::noteButtonImage(i, bass ? Clef::Bass : Clef::Treble);
    return QDir(notesFolder()).filePath(QString::fromStdString(file));
}

TEST(NotePictures, TheBuildDrewBothPicturesOfEveryNoteButton) {
    const QDir dir(notesFolder());
    const QStringList files = dir.entryList({QStringLiteral("*.png")}, QDir::Files);
    EXPECT_EQ(files.size(), 46) << notesFolder().toStdString();

    QSet<QByteArray> distinct;
    for (std::size_t i = 0; i < phrase::kNoteButtons; ++i) {
        for (const Clef clef : {Clef::Treble, Clef::Bass}) {
            const QString file = QString::fromStdString(phrase::noteButtonImage(i, clef));
            SCOPED_TRACE(file.toStdString());
            ASSERT_TRUE(files.contains(file));
            const QImage image = normalised(QImage(dir.filePath(file)));
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), QSize(104, 224));
            distinct.insert(QCryptographicHash::hash(
                QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()),
                QCryptographicHash::Sha1));
        }
    }
    // Every note and clef has its own picture, so none is blank or a filled square (what each
    // shows is the core's golden pictures).
    EXPECT_EQ(distinct.size(), 46);
}

// A folder lacking some pictures: those buttons are painted as the build draws them, and one
// line says so.
TEST(NotePictures, MissingOrBrokenPicturesArePaintedInstead) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QDir source(notesFolder());
    for (const QString& file : source.entryList({QStringLiteral("*.png")}, QDir::Files))
        ASSERT_TRUE(QFile::copy(source.filePath(file), temp.filePath(file)));
    ASSERT_TRUE(QFile::remove(temp.filePath(QStringLiteral("S_C0.png"))));
    test::writeFile(temp.filePath(QStringLiteral("H_D0.png")), "not a picture");

    testing::DiagCapture diagnostics;
    ScaleTable table;
    PhraseBuilder builder(table);
    testing::FakeAlerts alerts;
    PhraseBuilderWindow window(builder, alerts, nullptr, temp.path());
    ASSERT_EQ(diagnostics.lines.size(), 1u);
    EXPECT_NE(diagnostics.lines[0].find("2 of 46"), std::string::npos) << diagnostics.lines[0];

    for (const auto& [bass, i] : {std::pair{false, 0}, std::pair{true, 2}}) {
        window.toggleClef(bass);
        const QString file = builtFile(i, bass);
        EXPECT_TRUE(alike(iconImage(window, i), normalised(QImage(file)))) << file.toStdString();
    }

    // Pointed at the complete folder, every button shows its built picture, silently.
    EXPECT_EQ(window.setNotePictureFolder(notesFolder()), 0u);
    EXPECT_EQ(diagnostics.lines.size(), 1u);
    for (const bool bass : {false, true}) {
        window.toggleClef(bass);
        for (std::size_t i = 0; i < phrase::kNoteButtons; ++i) {
            const QString file = builtFile(i, bass);
            EXPECT_EQ(iconImage(window, i), normalised(QImage(file))) << file.toStdString();
        }
    }
}

QString writePng(const QTemporaryDir& dir, const QString& name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path));
    return path;
}

// Pictures are held at the size they are drawn, within a budget, whatever their files hold.
TEST(PictureCache, HoldsOnlyDrawnSizesWithinItsBudget) {
    QTemporaryDir dir;
    testing::DiagCapture diag;
    PictureCache& cache = PictureCache::instance();

    const qint64 before = cache.heldBytes();
    const QPixmap big = cache.scaled(writePng(dir, "big.png", {3000, 2000}), {60, 60});
    EXPECT_EQ(big.size(), QSize(60, 40));
    EXPECT_LT(cache.heldBytes() - before, 60 * 60 * 4 + 1);

    // Too large to decode at all: nothing drawn, said once.
    EXPECT_TRUE(cache.scaled(writePng(dir, "wide.png", {9000, 4}), {60, 60}).isNull());
    ASSERT_EQ(diag.lines.size(), 1u);
    EXPECT_NE(diag.lines[0].find("too large"), std::string::npos);

    // A FIFO named like a picture is not opened, which would wait for a writer (printing too).
    const QString fifo = dir.filePath("fifo.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(cache.scaled(fifo, {60, 60}).isNull());

    // Many sizes of one picture never exceed the budget.
    const QString path = dir.filePath("big.png");
    for (const int side : {1000, 1500, 2000, 2500, 3000, 3000}) {
        EXPECT_EQ(cache.scaled(path, {side, side}).width(), side);
        EXPECT_LE(cache.heldBytes(), PictureCache::kBudgetBytes);
    }
}

}  // namespace
}  // namespace sorvel
