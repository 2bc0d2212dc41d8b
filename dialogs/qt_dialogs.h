// The real dialogs: QMessageBox and QFileDialog over the window the user is
// working in (the active one: a preview's save dialog belongs to the
// preview), else over the main window; when a dialog closes, that window is
// active again and has the focus it had, so the next key lands where it did.
// Every file dialog starts by the rule of DialogStartPath and remembers the
// folder of the file chosen.
#pragma once

#include <QWidget>
#include <utility>

#include "dialogs/dialogs.h"
#include "dialogs/remembered_folder.h"

namespace wormgear {

class QtDialogs : public Dialogs {
 public:
    explicit QtDialogs(QWidget* parent = nullptr, RememberedFolder folder = {})
        : parent_(parent), folder_(std::move(folder)) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const QString& caption, const QString& text) override;
    bool askYesNo(const QString& caption, const QString& text) override;
    std::optional<QString> saveFileName(const QString& filter, const QString& proposed) override;
    std::optional<QString> openFileName(const QString& filter) override;

    const RememberedFolder& rememberedFolder() const { return folder_; }

 private:
    // The window a dialog opens over.
    QWidget* owner() const;

    QWidget* parent_;
    RememberedFolder folder_;
};

}  // namespace wormgear
