// Test main for the widget suite: a QApplication on the offscreen platform.
#include "base/headless_gui.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    zelvano::prepareHeadlessGui();
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
