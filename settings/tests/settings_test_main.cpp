// The settings tests run headless in one QApplication; numbers use '.' so the
// golden texts do not depend on the machine's locale.
#include <QApplication>
#include <gtest/gtest.h>

#include "numeric.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    wormgear::SetDecimalSeparator('.');
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
