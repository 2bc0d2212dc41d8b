// Application title and the real message boxes and file dialogs.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "dialogs/qt_dialogs.h"

namespace wormgear {

namespace {

// The one translation context of the shared dialogs.
class DialogsText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::Dialogs)
};

// Gives the focus back to the window a dialog stood over, once it has
// closed: the window system would otherwise hand it to any window of the
// program, often the main window.
class ReturnFocus {
 public:
    explicit ReturnFocus(QWidget* owner)
        : window_(owner ? owner->window() : nullptr), focus_(window_ ? window_->focusWidget() : nullptr) {}
    ~ReturnFocus() {
        if (!window_ || !window_->isVisible()) return;
        window_->activateWindow();
        if (focus_ && focus_->isVisible()) focus_->setFocus(Qt::ActiveWindowFocusReason);
    }
    ReturnFocus(const ReturnFocus&) = delete;
    ReturnFocus& operator=(const ReturnFocus&) = delete;

 private:
    QPointer<QWidget> window_;
    QPointer<QWidget> focus_;
};

}  // namespace

QString MessageWithDetail(const QString& message, const QString& detail) {
    return detail.isEmpty() ? message : message + QLatin1Char('\n') + detail;
}

QString FileDetail(const QString& path, const QString& reason) {
    return DialogsText::tr("%1：%2").arg(QDir::toNativeSeparators(path), reason);
}

QString ApplicationTitle() {
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (name.isEmpty()) name = QCoreApplication::applicationName();
    return name.left(1) + name.mid(1).toLower();
}

QWidget* QtDialogs::owner() const {
    QWidget* active = QApplication::activeWindow();
    return active && active->isVisible() ? active : parent_;
}

void QtDialogs::message(const QString& caption, const QString& text) {
    const ReturnFocus back(owner());
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDialogs::askYesNo(const QString& caption, const QString& text) {
    const ReturnFocus back(owner());
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, owner());
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(DialogsText::tr("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(DialogsText::tr("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

// Qt filters read "Name (patterns)"; an entry given as a bare pattern
// ("*.cqb") is shown as the pattern and matches it.
static QString QtFilter(const QString& filter) {
    QStringList entries = filter.split(QStringLiteral(";;"));
    for (QString& entry : entries) {
        if (!entry.contains(QLatin1Char('('))) entry += QStringLiteral(" (") + entry + QStringLiteral(")");
    }
    return entries.join(QStringLiteral(";;"));
}

// The file the user chose, its folder remembered; nothing when cancelled.
static std::optional<QString> Chosen(QFileDialog& dialog, RememberedFolder& folder) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().first();
    folder.remember(chosen);
    return chosen;
}

std::optional<QString> QtDialogs::saveFileName(const QString& filter, const QString& proposed) {
    const ReturnFocus back(owner());
    QFileDialog dialog(owner(), QString(), QString(), QtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QString start = DialogStartPath(proposed, folder_.folder(), DefaultDialogFolder());
    if (proposed.isEmpty()) dialog.setDirectory(start);
    else dialog.selectFile(start);  // the folder opened and the name proposed
    return Chosen(dialog, folder_);
}

std::optional<QString> QtDialogs::openFileName(const QString& filter) {
    const ReturnFocus back(owner());
    QFileDialog dialog(owner(), QString(), QString(), QtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(DialogStartPath(QString(), folder_.folder(), DefaultDialogFolder()));
    return Chosen(dialog, folder_);
}

}  // namespace wormgear
