// TForm2: the small modeless window "导出文件" shown while a parameter sheet is
// written. It lives for the whole run; closing it only hides it.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace wormgear {

class TForm2 : public QDialog {
    Q_OBJECT

 public:
    explicit TForm2(QWidget* parent = nullptr);

    // Modeless: the export goes on while the window is up.
    void showProgress() { show(); }
    // Visible to the user right now (tests ask this).
    bool isShowing() const { return isVisible(); }

    QFrame* Panel1;
    QLabel* Panel1Caption;
    QPushButton* Button1;

 public slots:
    // "取  消": hides the window and does nothing else; the export is not
    // stopped or undone.
    void Button1Click();

 protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace wormgear
