// A program directory of its own for every window test, and the real TForm1
// driven offscreen with scripted dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <memory>

#include "dialogs/testing/scripted_dialogs.h"
#include "ui/tform1.h"

namespace wormgear::testing {

using Coefficients = std::array<double, kCoefficientCount>;

// The example set of the worked example, c[0] = 0.875 as shipped.
inline constexpr Coefficients kExampleCoefficients = {0.875, 1.2, 0.7,  0.45, 0,   0.55, 2,  0.5,
                                                      0.2,   0.2, 0.45, 1,    0.5, 1,    0.9};

// Writes a coefficient database (N and reference values per row) to `path`.
void WriteCoefficientFile(const QString& path, const Coefficients& values,
                          const Coefficients& references = kExampleCoefficients);
// Writes db1.mdb (N and reference values per row) and v.txt into `directory`.
void WriteProgramFiles(const QString& directory, const Coefficients& values,
                       const Coefficients& references = kExampleCoefficients);

// Types text into a field as a user does; Chinese text goes in as an input
// method commit, as keyClicks cannot send it.
void Type(QWidget* widget, const QString& text);
// Selects the whole text of a line edit and types over it.
void Retype(QLineEdit* edit, const QString& text);

class WindowTest : public ::testing::Test {
 protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the window over the program directory.
    TForm1& openWindow(const QStringList& arguments = {}, OnlineServices online = {});
    // Fills the nine inputs of the worked example as a user types them.
    void typeWorkedExample();

    QString programDirectory() const { return directory_.path() + QLatin1Char('/'); }

    QTemporaryDir directory_;
    // The user's decimal separator the window is made with.
    char separator = '.';
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

}  // namespace wormgear::testing
