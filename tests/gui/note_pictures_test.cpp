// The note button pictures drawn at build time, and the phrase builder window showing them.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/diagnostics.h"
#include "phrase_builder_window.h"
#include "ports/alerts.h"
#include "test_support.h"

namespace sorvel {
namespace {

using gui::PhraseBuilderWindow;
using phrase::Clef;

// The build writes bin/notes beside bin/set.
QString notesFolder() {
    return QDir(QString::fromStdString(test::setFolder()))
        .absoluteFilePath(QStringLiteral("../notes"));
}

QString buttonName(std::size_t i) {
    return QStringLiteral("note_") +
           QString::fromLatin1(phrase::cdArr[i].data(), static_cast<int>(phrase::cdArr[i].size()));
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

// The icon's largest picture, as the button would draw it at its full size.
QImage iconImage(const QPushButton& button) {
    return normalised(button.icon().pixmap(QSize(104, 224)).toImage());
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
    {
        QFile broken(temp.filePath(QStringLiteral("H_D0.png")));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("not a picture");
    }

    testing::DiagCapture diagnostics;
    ScaleTable table;
    PhraseBuilder builder(table);
    testing::FakeAlerts alerts;
    PhraseBuilderWindow window(builder, alerts, nullptr, temp.path());
    ASSERT_EQ(diagnostics.lines.size(), 1u);
    EXPECT_NE(diagnostics.lines[0].find("2 of 46"), std::string::npos) << diagnostics.lines[0];

    for (const auto& [bass, i] : {std::pair{false, 0}, std::pair{true, 2}}) {
        window.toggleClef(bass);
        auto* button = window.findChild<QPushButton*>(buttonName(i));
        ASSERT_NE(button, nullptr);
        const QString file =
            QString::fromStdString(phrase::noteButtonImage(i, bass ? Clef::Bass : Clef::Treble));
        EXPECT_TRUE(alike(iconImage(*button), normalised(QImage(source.filePath(file)))))
            << file.toStdString();
    }

    // Pointed at the complete folder, every button shows its built picture, silently.
    EXPECT_EQ(window.setNotePictureFolder(notesFolder()), 0u);
    EXPECT_EQ(diagnostics.lines.size(), 1u);
    for (const bool bass : {false, true}) {
        window.toggleClef(bass);
        for (std::size_t i = 0; i < phrase::kNoteButtons; ++i) {
            auto* button = window.findChild<QPushButton*>(buttonName(i));
            ASSERT_NE(button, nullptr);
            const QString file = QString::fromStdString(
                phrase::noteButtonImage(i, bass ? Clef::Bass : Clef::Treble));
            EXPECT_EQ(iconImage(*button), normalised(QImage(source.filePath(file))))
                << file.toStdString();
        }
    }
}

}  // namespace
}  // namespace sorvel
