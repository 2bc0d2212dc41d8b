// Program directories and typing for the window tests.
#include "ui/tests/window_fixture.h"

#include <QFile>

#include "settings/tools/coefficient_db_writer.h"

namespace wormgear::testing {

void WriteCoefficientFile(const QString& path, const Coefficients& values, const Coefficients& references) {
    CoefficientTableSpec table;
    table.columns = StandardCoefficientColumns();
    for (int k = 0; k < kCoefficientCount; ++k)
        table.rows << QVariantList{k + 1, QStringLiteral("规则 %1").arg(k + 1), values[k], references[k]};
    WriteCoefficientDatabase(path, table);
}

void WriteProgramFiles(const QString& directory, const Coefficients& values, const Coefficients& references) {
    WriteCoefficientFile(directory + QStringLiteral("db1.mdb"), values, references);
    QFile version(directory + QStringLiteral("v.txt"));
    ASSERT_TRUE(version.open(QIODevice::WriteOnly));
    version.write("7.6\n");
}

void Type(QWidget* widget, const QString& text) {
    bool ascii = true;
    for (QChar c : text) ascii = ascii && c.unicode() < 128;
    if (ascii) {
        QTest::keyClicks(widget, text);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

void Retype(QLineEdit* edit, const QString& text) {
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Delete);
    else Type(edit, text);
}

void WindowTest::SetUp() {
    ASSERT_TRUE(directory_.isValid());
    WriteProgramFiles(programDirectory(), kExampleCoefficients);
    // The templates the build ships beside the program.
    for (const char* name : {"1.xls", "11.xls", "1111.xls", "111.xls"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(WORMGEAR_BIN_DIR "/") + QLatin1String(name),
                                programDirectory() + QLatin1String(name)))
            << name;
}

void WindowTest::TearDown() { form.reset(); }

TForm1& WindowTest::openWindow(const QStringList& arguments, OnlineServices online) {
    form = std::make_unique<TForm1>(dialogs, programDirectory(), separator, arguments, std::move(online));
    form->show();
    if (form->isVisible()) {
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    return *form;
}

void WindowTest::typeWorkedExample() {
    // Typing A proposes Edit5 and Edit7; the designer then types over them.
    Type(form->Edit1, QStringLiteral("200"));
    Type(form->Edit2, QStringLiteral("25"));
    Type(form->Edit3, QStringLiteral("50"));
    Retype(form->Edit4, QStringLiteral("2"));
    Retype(form->Edit5, QStringLiteral("130"));
    Retype(form->Edit7, QStringLiteral("78"));
}

}  // namespace wormgear::testing
