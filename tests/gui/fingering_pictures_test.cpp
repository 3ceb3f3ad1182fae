// The recorder and guitar picture sets the build draws from the fingering tables.
#include <QImage>
#include <QPainter>
#include <map>

#include "model/notation_tables.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

struct Chart {
    QImage full;      // as drawn
    QImage staff;     // at the staff's picture size, on white
    QStringList row;  // the table's fields from the given column on
};

std::map<std::string, Chart> charts(const char* set, const char* table, int first) {
    const QByteArray text = readFile(QStringLiteral(SORVEL_INSTRUMENTS_DIR "/") + table);
    EXPECT_FALSE(text.isEmpty()) << table;
    std::map<std::string, Chart> out;
    for (const QString& line : QString::fromUtf8(text).split('\n').mid(1)) {
        const QStringList fields = line.split(',');
        if (fields.size() > first) out[fields[0].toStdString()].row = fields.mid(first);
    }
    for (std::string_view name : tables::noteArr) {
        Chart& c = out[std::string(name)];
        const std::string path = setFolder() + "/" + set + "/" + std::string(name) + ".png";
        c.full = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_ARGB32);
        EXPECT_FALSE(c.full.isNull() || c.row.isEmpty()) << path;
        c.staff = QImage(20, 70, QImage::Format_RGB32);
        c.staff.fill(Qt::white);
        QPainter(&c.staff).drawImage(
            0, 0, c.full.scaled(c.staff.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return out;
}

bool isRed(QRgb p) {
    return qAlpha(p) > 128 && qRed(p) > 160 && qGreen(p) < 90 && qBlue(p) < 90;
}

// One picture per fingering: both spellings of a key share it, different fingerings differ
// where the staff shows them, and only the notes the recorder cannot play carry the red mark.
TEST(FingeringPictures, OnePicturePerFingeringReadableAtTheStaffSize) {
    for (const bool recorder : {true, false}) {
        const auto set = recorder ? charts("recorder", "recorder_soprano_baroque.csv", 2)
                                  : charts("six-string guitar", "guitar_standard.csv", 2);
        for (auto a = set.begin(); a != set.end(); ++a) {
            int red = 0;
            for (int y = 0; y < 70; ++y)
                for (int x = 0; x < 20; ++x) red += isRed(a->second.staff.pixel(x, y));
            if (recorder) {
                EXPECT_EQ(red > 20, a->second.row[0] == "no") << a->first;
            }
            for (auto b = std::next(a); b != set.end(); ++b) {
                SCOPED_TRACE(a->first + " " + b->first);
                int seen = 0;  // pixels whose grey changes visibly
                for (int y = 0; y < 70; ++y)
                    for (int x = 0; x < 20; ++x)
                        seen += std::abs(qGray(a->second.staff.pixel(x, y)) -
                                         qGray(b->second.staff.pixel(x, y))) >= 64;
                if (a->second.row.mid(0, 9) == b->second.row.mid(0, 9)) {
                    EXPECT_EQ(a->second.full, b->second.full);
                } else {
                    EXPECT_GE(seen, 3);
                }
            }
        }
    }
}

// Where the table's hole columns land: the thumb hole left of the column and holes 1 to 7 down
// it, found from the pixels that change between two fingerings differing in that hole alone.
TEST(FingeringPictures, RecorderHolesLieInOrder) {
    const auto recorder = charts("recorder", "recorder_soprano_baroque.csv", 3);
    std::map<int, QPointF> hole;
    for (const auto& [na, a] : recorder) {
        for (const auto& [nb, b] : recorder) {
            std::vector<int> differ;
            for (int i = 0; i < 8; ++i)
                if (a.row[i] != b.row[i]) differ.push_back(i);
            if (differ.size() != 1 || a.row[0].isEmpty() || b.row[0].isEmpty()) continue;
            QPointF sum;
            int n = 0;
            for (int y = 0; y < a.full.height(); ++y)
                for (int x = 0; x < a.full.width(); ++x)
                    if (a.full.pixel(x, y) != b.full.pixel(x, y)) sum += QPointF(x, y), ++n;
            hole[differ[0]] = sum / std::max(n, 1);
        }
    }
    ASSERT_EQ(hole.size(), 8u) << "the table changes every hole alone somewhere";
    for (int h = 1; h < 8; ++h) {
        EXPECT_LT(hole[0].x(), hole[h].x() - 20) << h;
        EXPECT_LT(hole[h - 1].y(), hole[h].y()) << h;
    }
}

}  // namespace
}  // namespace sorvel::test
