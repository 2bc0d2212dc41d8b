// The real dialogs: QMessageBox and QFileDialog, parented to the active window.
#pragma once

#include <QWidget>

#include "dialogs/dialogs.h"

namespace wormgear {

class QtDialogs : public Dialogs {
 public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const QString& caption, const QString& text) override;
    bool askYesNo(const QString& caption, const QString& text) override;
    std::optional<QString> saveFileName(const QString& filter, const QString& proposed) override;
    std::optional<QString> openFileName(const QString& filter) override;

 private:
    QWidget* parent_;
};

}  // namespace wormgear
