// The recorder and guitar picture sets the build draws from the fingering tables.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <map>
#include <string>

#include "model/notation_tables.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

struct Chart {
    QImage full;   // as drawn
    QImage staff;  // at the staff's picture size, on white
    QString fingering;
};

// Every pitch name's picture in a set, with its row of the table from column `first` on.
std::map<std::string, Chart> charts(const char* set, const char* table, int first, int count) {
    QFile file(QStringLiteral(SORVEL_INSTRUMENTS_DIR "/") + QLatin1String(table));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << table;
    std::map<std::string, QString> rows;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n').mid(1)) {
        const QStringList fields = line.split(',');
        if (fields.size() >= first + count)
            rows[fields[0].toStdString()] = fields.mid(first, count).join(',');
    }
    std::map<std::string, Chart> out;
    for (std::string_view name : tables::noteArr) {
        const std::string n(name);
        const QString path = QString::fromStdString(setFolder() + "/" + set + "/" + n + ".png");
        Chart c{QImage(path).convertToFormat(QImage::Format_ARGB32),
                QImage(20, 70, QImage::Format_RGB32), QString()};
        EXPECT_FALSE(c.full.isNull()) << path.toStdString();
        EXPECT_TRUE(rows.count(n)) << n;
        c.fingering = rows[n];
        c.staff.fill(Qt::white);
        QPainter(&c.staff).drawImage(
            0, 0, c.full.scaled(c.staff.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        out[n] = c;
    }
    return out;
}

bool isRed(QRgb p) {
    return qAlpha(p) > 128 && qRed(p) > 160 && qGreen(p) < 90 && qBlue(p) < 90;
}

// Pixels at the staff's size that a reader sees change.
int visibleChange(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) >= 64;
    return n;
}

// One picture per fingering: both spellings of a key share it, different fingerings differ
// where the staff shows them, and the notes the recorder cannot play carry the red mark.
TEST(FingeringPictures, OnePicturePerFingeringReadableAtTheStaffSize) {
    const std::map<std::string, Chart> sets[] = {
        charts("recorder", "recorder_soprano_baroque.csv", 2, 9),
        charts("six-string guitar", "guitar_standard.csv", 2, 2)};
    for (const auto& set : sets) {
        for (auto a = set.begin(); a != set.end(); ++a) {
            for (auto b = std::next(a); b != set.end(); ++b) {
                SCOPED_TRACE(a->first + " " + b->first);
                if (a->second.fingering == b->second.fingering) {
                    EXPECT_EQ(a->second.full, b->second.full);
                } else {
                    EXPECT_GE(visibleChange(a->second.staff, b->second.staff), 3);
                }
            }
        }
    }
    for (const auto& [name, chart] : sets[0]) {
        int red = 0;
        for (int y = 0; y < chart.staff.height(); ++y)
            for (int x = 0; x < chart.staff.width(); ++x) red += isRed(chart.staff.pixel(x, y));
        EXPECT_EQ(red > 20, chart.fingering.startsWith("no")) << name << " " << red;
    }
}

// Where the table's columns land: the thumb hole left of the column, holes 1 to 7 down it;
// on the guitar, low strings to the left and higher frets further down.
TEST(FingeringPictures, HolesStringsAndFretsLieInOrder) {
    const auto recorder = charts("recorder", "recorder_soprano_baroque.csv", 3, 8);
    std::map<int, QPointF> holeAt;  // centre of the pixels that change with one hole alone
    for (const auto& [na, a] : recorder) {
        for (const auto& [nb, b] : recorder) {
            const QStringList ha = a.fingering.split(','), hb = b.fingering.split(',');
            int differ = -1, count = 0;
            for (int i = 0; i < 8; ++i) {
                if (ha[i] != hb[i]) ++count, differ = i;
            }
            if (count != 1 || ha[0].isEmpty() || hb[0].isEmpty()) continue;
            QPointF sum;
            int n = 0;
            for (int y = 0; y < a.full.height(); ++y)
                for (int x = 0; x < a.full.width(); ++x)
                    if (a.full.pixel(x, y) != b.full.pixel(x, y)) sum += QPointF(x, y), ++n;
            holeAt[differ] = sum / n;
        }
    }
    ASSERT_EQ(holeAt.size(), 8u) << "the table changes every hole alone somewhere";
    for (int h = 1; h < 8; ++h) {
        EXPECT_LT(holeAt[0].x(), holeAt[h].x() - 20) << h;
        EXPECT_LT(holeAt[h - 1].y(), holeAt[h].y()) << h;
    }

    const auto guitar = charts("six-string guitar", "guitar_standard.csv", 2, 2);
    std::map<std::string, QPoint> dot;  // the column and the row with the most red
    for (const auto& [name, c] : guitar) {
        std::vector<int> columns(c.full.width()), rows(c.full.height());
        for (int y = 0; y < c.full.height(); ++y)
            for (int x = 0; x < c.full.width(); ++x)
                if (isRed(c.full.pixel(x, y))) ++columns[x], ++rows[y];
        dot[name] = QPoint(std::max_element(columns.begin(), columns.end()) - columns.begin(),
                           std::max_element(rows.begin(), rows.end()) - rows.begin());
    }
    for (const auto& [na, a] : guitar) {
        for (const auto& [nb, b] : guitar) {
            const int sa = a.fingering.section(',', 0, 0).toInt(),
                      fa = a.fingering.section(',', 1).toInt();
            const int sb = b.fingering.section(',', 0, 0).toInt(),
                      fb = b.fingering.section(',', 1).toInt();
            SCOPED_TRACE(na + " " + nb);
            if (sa > sb) {
                EXPECT_LT(dot[na].x(), dot[nb].x());
            }
            if (sa == sb && fa > 0 && fa < fb && fb <= 4) {
                EXPECT_LT(dot[na].y(), dot[nb].y());
            }
        }
    }
}

}  // namespace
}  // namespace sorvel::test
