#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "app_resources.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Qt settings go to a folder of their own, never the user's.
    QTemporaryDir config;
    if (!config.isValid()) {
        std::fputs("gui_tests: no temporary folder for the Qt settings\n", stderr);
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    sorvel::gui::loadAppResources();
    return RUN_ALL_TESTS();
}
