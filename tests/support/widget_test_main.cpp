// Widget tests need a QApplication before the first widget; CTest runs them headless.
#include <QApplication>

#include <gtest/gtest.h>

#include "shell/appearance.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    shell::install_korean_translation();  // as the program does: Qt's own texts in Korean
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
