// Test main for core suites that draw pictures or text: a QGuiApplication on the offscreen platform.
#include "base/headless_gui.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    zelvano::prepareHeadlessGui();
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
