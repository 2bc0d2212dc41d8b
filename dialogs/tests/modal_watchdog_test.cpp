// The watchdog of the window tests (started by the shared test main): a modal
// box nobody answers fails the running test within about a second and is
// closed, so the run goes on.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>

namespace {

qint64 g_elapsed = 0;

void ShowAnUnansweredBox() {
    QElapsedTimer clock;
    clock.start();
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Wormgear"), QStringLiteral("nobody answers this"));
    box.exec();
    g_elapsed = clock.elapsed();
}

// The test main's watchdog is the one under test.
TEST(ModalWatchdogTest, AnUnscriptedModalBoxFailsTheTestAndIsClosed) {
    EXPECT_NONFATAL_FAILURE(ShowAnUnansweredBox(), "nobody answers this");
    EXPECT_LT(g_elapsed, 5000) << "the box stood " << g_elapsed << " ms";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
