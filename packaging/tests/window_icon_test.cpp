// The program's icon on the running window program: the application and its
// main window carry the drawing of wormgear.svg, the same one the desktop
// entry names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "app/program.h"
#include "ui/tform1.h"

namespace {

constexpr int kSize = 64;

QImage Drawn(const QIcon& icon) { return icon.pixmap(kSize, kSize).toImage().convertToFormat(QImage::Format_ARGB32); }

// A start that never reaches its window (a dialog waiting for an answer) must
// fail the test, not hang the run.
class HangGuard {
 public:
    HangGuard()
        : thread_([this] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!done_.wait_for(lock, std::chrono::seconds(60), [this] { return finished_; })) {
                  std::fprintf(stderr, "the window program did not come up: a dialog is waiting\n");
                  std::_Exit(1);
              }
          }) {}
    ~HangGuard() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }

 private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace

TEST(WindowIconTest, TheRunningProgramShowsTheWormgearIcon) {
    // No server is asked for the notice line or the version: port 9 is closed.
    qputenv("WORMGEAR_SERVER", "http://127.0.0.1:9");
    QImage application, window, drawing;
    bool svgReadable = false;
    wormgear::ProgramHooks hooks;
    hooks.whenShown = [&](wormgear::TForm1& form) {
        svgReadable = QImageReader::supportedImageFormats().contains("svg");
        application = Drawn(QApplication::windowIcon());
        window = Drawn(form.windowIcon());
        drawing = Drawn(QIcon(QStringLiteral(WORMGEAR_ICON_SOURCE)));
        QCoreApplication::exit(0);
    };
    int argc = 1;
    char name[] = "wormgear";
    char* argv[] = {name, nullptr};
    {
        HangGuard guard;
        ASSERT_EQ(wormgear::RunWindowProgram(argc, argv, hooks), 0);
    }
    ASSERT_TRUE(svgReadable) << "Qt cannot read SVG: the package libqt6svg6 is missing";
    ASSERT_FALSE(drawing.isNull());
    ASSERT_FALSE(application.isNull()) << "the application has no icon";
    EXPECT_EQ(application, drawing);
    EXPECT_EQ(window, drawing);
    // The drawing itself: opaque where the worm's throat lies, clear in the corners.
    EXPECT_EQ(qAlpha(drawing.pixel(kSize / 2, kSize * 3 / 4)), 255);
    EXPECT_EQ(qAlpha(drawing.pixel(0, kSize - 1)), 0);
}
