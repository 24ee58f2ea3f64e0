// Test main for suites that draw text or widgets: a QGuiApplication on the offscreen platform.
#include "base/headless_gui.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    zelvano::prepareHeadlessGui();
    QApplication app(argc, argv); // widgets need it; the suites without widgets run the same
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
