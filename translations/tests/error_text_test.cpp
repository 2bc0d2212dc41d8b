// The file layer's sentences in the interface's language: in Chinese exactly
// as the file layer writes them, in English with no Chinese left and the
// file's name kept, for every action and every reason the layer words.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRegularExpression>
#include <cerrno>

#include "files/file_io.h"
#include "translations/error_text.h"
#include "translations/interface_language.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace wormgear {
namespace {

const QString kProgramDirectory = QStringLiteral(WORMGEAR_BIN_DIR "/");

using A = FileError::Action;
const A kActions[] = {A::Open, A::Read, A::NotRegular, A::TooLarge, A::Create, A::Write, A::Replace, A::NoFileName};
// Every number the file layer words itself, none (0), and one it leaves to the system.
const int kReasons[] = {0,       ENOENT,       EACCES, EPERM,  ENOSPC, EDQUOT, EROFS,   EIO,        EISDIR,
                        ENOTDIR, ENAMETOOLONG, EEXIST, EFBIG,  ELOOP,  EBUSY,  ETXTBSY, EMFILE,     ENFILE,
                        EXDEV,   ENXIO,        ENODEV, EAGAIN, EINVAL, ENOMEM, ESTALE,  EOPNOTSUPP, ECONNRESET};
// A path with the sentence's own marks in it.
const std::string kPath = "/home/李/图“纸”：第1版.dxf";

bool HasChinese(const QString& text) {
    static const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return chinese.match(text).hasMatch();
}

class ErrorTextTest : public ::testing::TestWithParam<Language> {
 protected:
    void SetUp() override {
        ASSERT_TRUE(InstallTranslations(*QCoreApplication::instance(), GetParam(), kProgramDirectory));
    }
    void TearDown() override {
        InstallTranslations(*QCoreApplication::instance(), Language::Chinese, kProgramDirectory);
    }
};

TEST_P(ErrorTextTest, EveryFileSentenceIsInTheInterfacesLanguage) {
    const QString path = QString::fromStdString(kPath);
    for (A action : kActions) {
        for (int reason : kReasons) {
            const FileError error(action, kPath, reason);
            SCOPED_TRACE(error.what());
            const QString shown = ErrorText(error);
            // The same sentence read from its text, as a workbook error carries it.
            EXPECT_EQ(FileSentenceText(error.what()), shown);
            if (GetParam() == Language::Chinese) {
                EXPECT_EQ(shown, QString::fromUtf8(error.what()));
                EXPECT_EQ(FileErrorReason(error), QString::fromStdString(error.reason()));
                continue;
            }
            EXPECT_TRUE(shown.contains(path)) << shown.toStdString();
            EXPECT_FALSE(HasChinese(QString(shown).remove(path))) << shown.toStdString();
            EXPECT_FALSE(HasChinese(FileErrorReason(error))) << FileErrorReason(error).toStdString();
            if (reason != 0) {
                EXPECT_FALSE(HasChinese(SystemErrorReason(reason))) << reason;
            }
        }
    }
}

TEST_P(ErrorTextTest, TheDataFolderSentencesToo) {
    const struct {
        const char* sentence;  // as files/program_files.cpp words it
        const char* english;
    } kSentences[] = {
        {"无法使用数据文件夹“/home/li/.local/share/wormgear/”：Permission denied",
         "Cannot use the data folder “/home/li/.local/share/wormgear/”: Permission denied"},
        {"无法确定用户的数据文件夹：没有设置 HOME，用户数据库中也没有当前用户的主文件夹",
         "The user's data folder is unknown: HOME is not set and the user database names no home folder for the "
         "current user"},
    };
    for (const auto& s : kSentences) {
        const QString shown = FileSentenceText(s.sentence);
        EXPECT_EQ(shown, QString::fromUtf8(GetParam() == Language::English ? s.english : s.sentence));
    }
}

TEST_P(ErrorTextTest, OtherTextsStayAsTheyAre) {
    for (const char* text : {"数据表 nzhi 没有数据", "database error: disk I/O error", "无法打开文件", ""}) {
        // A text that only begins like a file sentence is none.
        EXPECT_EQ(ErrorText(std::runtime_error(text)).isEmpty(), std::string(text).empty());
    }
    EXPECT_EQ(ErrorText(std::runtime_error("数据表 nzhi 没有数据")), QStringLiteral("数据表 nzhi 没有数据"));
    EXPECT_EQ(FileSentenceText("无法打开文件“没有结束"), QStringLiteral("无法打开文件“没有结束"));
}

INSTANTIATE_TEST_SUITE_P(Languages, ErrorTextTest, ::testing::Values(Language::Chinese, Language::English),
                         [](const ::testing::TestParamInfo<Language>& info) {
                             return info.param == Language::English ? "English" : "Chinese";
                         });

}  // namespace
}  // namespace wormgear
