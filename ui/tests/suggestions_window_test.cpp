// Proposals while the centre distance is typed, the coefficient read-outs,
// their one message per failing handler, and the hint boxes.
#include <QClipboard>

#include "calc/hints.h"
#include "calc/suggestions.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

const QString kInputError = QStringLiteral("数字输入有误,请核实.........");

// Golden values with c[0] = 0.875, from the worked edge cases of the input
// suggestions: A typed into an empty Edit1.
struct TypedCase {
    const char* centreDistance;
    const char* edit5;
    const char* label46;  // nullptr: not checked
    const char* edit7;
    const char* label47;
};
const TypedCase kTypedCases[] = {
    {"450", "292", "0.648888888888889", "159.358", "0.759998473879494"},  // 292.5 -> even 292
    {"100", "65", "0.65", "42.738", "0.760002845253761"},
    {"70", "46", nullptr, nullptr, nullptr},
    {"710", "461", nullptr, nullptr, nullptr},  // the Extended product lies below 461.5
};

TEST_F(WindowTest, TypingTheCentreDistanceProposesBothFields) {
    openWindow();
    for (const TypedCase& c : kTypedCases) {
        SCOPED_TRACE(c.centreDistance);
        Retype(form->Edit1, QString());
        Type(form->Edit1, QString::fromLatin1(c.centreDistance));
        EXPECT_EQ(form->Edit5->text(), QString::fromLatin1(c.edit5));
        if (c.label46) {
            EXPECT_EQ(form->Label46->text(), QString::fromLatin1(c.label46));
        }
        if (c.edit7) {
            EXPECT_EQ(form->Edit7->text(), QString::fromLatin1(c.edit7));
        }
        if (c.label47) {
            EXPECT_EQ(form->Label47->text(), QString::fromLatin1(c.label47));
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, PastingOverTheCentreDistanceLeavesAnUnchangedProposalAlone) {
    openWindow();
    Type(form->Edit1, QStringLiteral("100"));
    ASSERT_EQ(form->Label46->text(), QStringLiteral("0.65"));
    QApplication::clipboard()->setText(QStringLiteral("100.4"));
    QTest::keyClick(form->Edit1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(form->Edit1, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(form->Edit1->text(), QStringLiteral("100.4"));
    // 100.4 * 0.65 = 65.26 still proposes 65: Edit5Change does not run, so
    // Label46 keeps 0.65 instead of 65 / 100.4.
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("65"));
    EXPECT_EQ(form->Label46->text(), QStringLiteral("0.65"));
    const std::string edit7 = ProposeWormPitchDiameter("100.4", 0.875, '.');
    EXPECT_NE(edit7, "42.738");
    EXPECT_EQ(form->Edit7->text().toStdString(), edit7);
    EXPECT_EQ(form->Label47->text().toStdString(), WormPitchDiameterFactor(edit7, "100.4", 0.875, '.'));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, ZeroCentreDistanceShowsTheMessageOncePerInnerHandler) {
    openWindow();
    Type(form->Edit1, QStringLiteral("100"));
    Retype(form->Edit1, QStringLiteral("0"));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("0"));
    EXPECT_EQ(form->Edit7->text(), QStringLiteral("0"));
    ASSERT_EQ(dialogs.messages.size(), 2u);  // 0 / 0 in Edit5Change, then in Edit7Change
    for (const auto& message : dialogs.messages) {
        EXPECT_EQ(message.caption, ApplicationTitle());
        EXPECT_EQ(message.text, kInputError);
    }
    EXPECT_EQ(form->Label46->text(), QStringLiteral("0.65"));  // kept from A = 100
}

TEST_F(WindowTest, ALetterInTheCentreDistanceShowsTheMessageOnceAndKeepsTheProposals) {
    openWindow();
    Type(form->Edit1, QStringLiteral("4"));
    const QString edit5 = form->Edit5->text();
    const QString edit7 = form->Edit7->text();
    EXPECT_EQ(edit5, QStringLiteral("3"));  // 4 * 0.65 = 2.6
    ASSERT_TRUE(dialogs.messages.empty());
    Type(form->Edit1, QStringLiteral("a"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, kInputError);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(form->Edit5->text(), edit5);
    EXPECT_EQ(form->Edit7->text(), edit7);
    // Every keystroke that leaves an invalid number shows it again.
    Type(form->Edit1, QStringLiteral("b"));
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(WindowTest, ChineseInTheCentreDistanceShowsTheMessageOnce) {
    openWindow();
    Type(form->Edit1, QStringLiteral("二百"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("二百"));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{kInputError});
    EXPECT_TRUE(form->Edit5->text().isEmpty());
}

TEST_F(WindowTest, EmptyingTheCentreDistanceWritesNothingButEdit5ThenComplains) {
    openWindow();
    Type(form->Edit1, QStringLiteral("100"));
    for (int i = 0; i < 3; ++i) QTest::keyClick(form->Edit1, Qt::Key_Backspace);
    ASSERT_TRUE(form->Edit1->text().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
    // The proposals of the last non-empty text, A = 1, stay.
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("1"));
    EXPECT_EQ(form->Edit7->text(), QStringLiteral("0.76"));
    // With A empty every keystroke in Edit5 fails.
    Type(form->Edit5, QStringLiteral("12"));
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{kInputError, kInputError}));
}

TEST_F(WindowTest, WritingAnUnchangedTextRunsNoHandler) {
    openWindow();
    Type(form->Edit1, QStringLiteral("100"));
    Retype(form->Edit1, QString());
    // A is empty now: any run of Edit5Change would complain.
    form->setFieldText(5, QStringLiteral("65"));
    EXPECT_TRUE(dialogs.messages.empty());
    form->setFieldText(5, QStringLiteral("66"));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{kInputError});
}

TEST_F(WindowTest, AHandTypedValueIsReplacedAtTheNextChangeOfTheCentreDistance) {
    openWindow();
    Type(form->Edit1, QStringLiteral("10"));
    Retype(form->Edit5, QStringLiteral("7"));
    EXPECT_EQ(form->Label46->text(), QStringLiteral("0.7"));
    Type(form->Edit1, QStringLiteral("0"));  // A = 100
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("65"));
    EXPECT_EQ(form->Label46->text(), QStringLiteral("0.65"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, AReloadedExponentIsUsedFromTheNextChangeOn) {
    openWindow();
    Type(form->Edit1, QStringLiteral("10"));
    Coefficients changed = kExampleCoefficients;
    changed[0] = 1;
    WriteProgramFiles(programDirectory(), changed);
    ASSERT_TRUE(form->FormShow());
    EXPECT_EQ(form->coefficients().c[0], 1.0);
    EXPECT_EQ(form->Edit7->text().toStdString(), ProposeWormPitchDiameter("10", 0.875, '.'));  // not recomputed
    Type(form->Edit1, QStringLiteral("0"));
    EXPECT_EQ(form->Edit7->text(), QStringLiteral("76"));  // 100^1 * 0.76
    EXPECT_EQ(form->Label47->text(), QStringLiteral("0.76"));
}

struct Hint {
    const char* button;
    const char* memo;
    QStringList lines;  // \t: the tab that ends a line
    bool verticalScrollBar;
};

TEST_F(WindowTest, ArrowButtonsShowTheHintBoxesWithTheirExactLines) {
    openWindow();
    const Hint kHints[] = {
        {"Button2", "Memo1", {"系数：0.63～0.67,小", "传动比时取小值"}, false},
        {"Button3", "Memo2", {"齿顶圆弧偏", "心。速比>10 ", "取0，速", "比<10取0.1a至0", ".3a"}, true},
        {"Button4", "Memo3", {"系数取0.6～0.78之", "间"}, false},
        {"Button5",
         "Memo4",
         {"A≥80～200\t", "Cn=0.15～0.5", "A≥200～315\t", "Cn=0.35～0.8\t", "A≥315～630\t", "Cn=0.6～1.5",
          "A≥600～800\t", "Cn=0.8～2\t", "A≥800～1000\t", "Cn=1～1.25"},
         false},
    };
    for (const Hint& hint : kHints) {
        SCOPED_TRACE(hint.memo);
        auto* button = form->findChild<QPushButton*>(QString::fromLatin1(hint.button));
        auto* memo = form->findChild<QPlainTextEdit*>(QString::fromLatin1(hint.memo));
        ASSERT_NE(button, nullptr);
        ASSERT_NE(memo, nullptr);
        EXPECT_FALSE(memo->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(memo->isVisible());
        EXPECT_EQ(memo->toPlainText().split(QLatin1Char('\n')), hint.lines);
        EXPECT_EQ(memo->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn, hint.verticalScrollBar);
        QTest::mouseClick(button, Qt::LeftButton);  // a second click changes nothing
        EXPECT_TRUE(memo->isVisible());
        EXPECT_FALSE(memo->isReadOnly());
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// The hint boxes show the ranges the design checks and the table of
// solutions take (calc/hints.h), whatever the boxes' line breaks.
TEST_F(WindowTest, HintBoxesShowTheRangesOfTheirOneHome) {
    openWindow();
    auto shown = [](const QPlainTextEdit* memo) {
        return memo->toPlainText().remove(QLatin1Char('\n')).remove(QLatin1Char('\t')).remove(QLatin1Char(' '));
    };
    auto range = [](const char* low, const char* high, const char* between) {
        return QString::fromUtf8(low) + QString::fromUtf8(between) + QString::fromUtf8(high);
    };
    EXPECT_TRUE(shown(form->Memo1).contains(range(kBaseDiameterShareHint.low, kBaseDiameterShareHint.high, "～")));
    EXPECT_TRUE(shown(form->Memo3).contains(range(kPitchDiameterFactorHint.low, kPitchDiameterFactorHint.high, "～")));
    EXPECT_TRUE(shown(form->Memo2).contains(range(kEccentricityShareHint.low, kEccentricityShareHint.high, "a至")))
        << shown(form->Memo2).toStdString();
    QString bands;
    for (const BacklashHintBand& band : kBacklashHintBands) {
        bands += QStringLiteral("A≥") + range(band.fromCentreDistance, band.toCentreDistance, "～") +
                 QStringLiteral("Cn=") + range(band.low, band.high, "～");
    }
    EXPECT_EQ(shown(form->Memo4), bands);
}

TEST_F(WindowTest, EnterInAHintBoxIsALineBreak) {
    openWindow();
    form->Button2->click();
    form->Memo1->setFocus();
    form->Memo1->moveCursor(QTextCursor::End);
    QTest::keyClick(form->Memo1, Qt::Key_Return);
    EXPECT_TRUE(form->Memo1->toPlainText().endsWith(QLatin1Char('\n')));
    EXPECT_TRUE(dialogs.messages.empty());  // no calculation ran (it would fail on empty inputs)
}

}  // namespace
}  // namespace wormgear::testing
