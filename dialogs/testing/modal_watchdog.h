// A modal dialog that no test scripted must fail its test, not hang the run
// until ctest's time-out: the watchdog looks for one every 100 ms while any
// event loop runs (a modal dialog runs its own), and one that has stood for a
// second fails the running test and is closed.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace wormgear::testing {

class ModalWatchdog : public QObject {
 public:
    static constexpr int kPatienceMilliseconds = 1000;

    ModalWatchdog();
    // How many stray dialogs it has closed.
    int closedCount() const { return closed_; }

 private:
    void look();

    QTimer timer_;
    QPointer<QWidget> seen_;
    QElapsedTimer since_;
    int closed_ = 0;
};

}  // namespace wormgear::testing
