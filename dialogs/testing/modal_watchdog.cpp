// The modal-dialog watchdog of the window tests.
#include "dialogs/testing/modal_watchdog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace wormgear::testing {
namespace {

std::string Describe(QWidget* widget) {
    std::string text = widget->metaObject()->className();
    if (!widget->windowTitle().isEmpty()) text += " \"" + widget->windowTitle().toStdString() + "\"";
    if (auto* box = qobject_cast<QMessageBox*>(widget)) text += ": " + box->text().toStdString();
    return text;
}

}  // namespace

ModalWatchdog::ModalWatchdog() {
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, [this] { look(); });
    timer_.start();
}

void ModalWatchdog::look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
        seen_ = nullptr;
        return;
    }
    if (modal != seen_) {
        seen_ = modal;
        since_.start();
        return;
    }
    if (since_.elapsed() < kPatienceMilliseconds) return;
    ADD_FAILURE() << "a modal dialog no test scripted stood for a second: " << Describe(modal);
    ++closed_;
    seen_ = nullptr;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    else modal->close();
}

}  // namespace wormgear::testing
