// Test main for the widget suite: the desktop program's application object on the offscreen platform.
#include "base/headless_gui.h"
#include "ui/guarded_application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    zelvano::prepareHeadlessGui();
    zelvano::GuardedApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
