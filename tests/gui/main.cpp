#include <gtest/gtest.h>

#include <QApplication>

#include "app_resources.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    sorvel::gui::loadAppResources();
    return RUN_ALL_TESTS();
}
