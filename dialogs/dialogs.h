// The questions, messages and file choices the program puts to the user go
// through this one interface: the program implements it with QMessageBox and
// QFileDialog, tests with a script of answers.
#pragma once

#include <QString>
#include <optional>

namespace wormgear {

class Dialogs {
 public:
    virtual ~Dialogs() = default;
    // A modal box with an OK button and no icon.
    virtual void message(const QString& caption, const QString& text) = 0;
    // The modal warning question: "&Yes" (default, Enter) and "&No" (Escape).
    // Closing the box without an answer counts as No.
    virtual bool askYesNo(const QString& caption, const QString& text) = 0;
    // Save and open file dialogs: `filter` lists the dialog's entries,
    // separated by ";;", each a bare pattern ("*.cqb") or a name with its
    // patterns ("Excel 工作簿 (*.xlsx *.xls)"); `proposed` is the proposed
    // file name, or a path whose folder the dialog opens in. The chosen path,
    // or nothing when cancelled.
    virtual std::optional<QString> saveFileName(const QString& filter, const QString& proposed) = 0;
    virtual std::optional<QString> openFileName(const QString& filter) = 0;
};

// A command's message with what failed on a line beneath it, in the same box:
// MessageWithDetail("保存过程中发生错误…", "/home/a/x.cqb：设备上没有空间").
// An empty detail leaves the message as it is.
QString MessageWithDetail(const QString& message, const QString& detail);

// The detail of a failure whose reason does not name its file: the file as
// the system writes paths, then the reason ("/home/a/set1.ccq：权限不够").
QString FileDetail(const QString& path, const QString& reason);

// Caption of the plain message boxes: the executable's file name without
// directory and extension, every character after the first in lower case.
QString ApplicationTitle();

}  // namespace wormgear
