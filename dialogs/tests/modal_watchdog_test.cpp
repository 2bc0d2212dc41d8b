// The watchdog of the window tests (started by the shared test main): a modal
// box nobody answers fails the running test within about a second and is
// closed, so the run goes on.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>

namespace {

// Returns only when something closes the box: the watchdog.
void ShowAnUnansweredBox() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Wormgear"), QStringLiteral("nobody answers this"));
    box.exec();
}

// The test main's watchdog is the one under test.
TEST(ModalWatchdogTest, AnUnscriptedModalBoxFailsTheTestAndIsClosed) {
    EXPECT_NONFATAL_FAILURE(ShowAnUnansweredBox(), "nobody answers this");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
