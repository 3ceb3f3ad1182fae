#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/SorvelNotation.ttf"));
    return RUN_ALL_TESTS();
}
