#include "platform/fonts.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    // Widgets need a platform plugin; without a display the offscreen one
    // renders everything in memory.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // As in the program: results are formatted by the C library.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    ohmtrim::InstallFontSubstitution();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
