// The extension rule of the save dialogs' names, case by case: the name a
// user types or picks, the extension of the kind of file, the file written.
#include <gtest/gtest.h>

#include "files/file_names.h"

using namespace wormgear;

namespace {

struct NameCase {
    const char* typed;
    const char* extension;
    const char* written;
};

const NameCase kNames[] = {
    {"/home/li/abc", ".cqb", "/home/li/abc.cqb"},
    {"/home/li/abc.cqb", ".cqb", "/home/li/abc.cqb"},  // typed with its extension
    {"/home/li/ABC.CQB", ".cqb", "/home/li/ABC.CQB"},  // an existing design picked in the dialog
    {"/home/li/abc.Cqb", ".cqb", "/home/li/abc.Cqb"},
    {"/home/li/wheel A=200.5", ".cqb", "/home/li/wheel A=200.5.cqb"},  // a dot in the name is no extension
    {"/home/li/hob v1.2", ".cqb", "/home/li/hob v1.2.cqb"},
    {"/home/li/abc.cqb.bak", ".cqb", "/home/li/abc.cqb.bak.cqb"},
    {"/home/li/abccqb", ".cqb", "/home/li/abccqb.cqb"},      // the letters without their dot
    {"/home/li/v1.0/abc", ".cqb", "/home/li/v1.0/abc.cqb"},  // a dot in a folder
    {"set1", ".ccq", "set1.ccq"},
    {"set1.ccq", ".ccq", "set1.ccq"},
    {"set1.cqb", ".ccq", "set1.cqb.ccq"},  // another kind's extension stays part of the name
    {"设置 二", ".ccq", "设置 二.ccq"},
    {"设置.CCQ", ".ccq", "设置.CCQ"},
    {"/tmp/pair-蜗杆图", ".dxf", "/tmp/pair-蜗杆图.dxf"},
    {"/tmp/pair.DXF", ".dxf", "/tmp/pair.DXF"},
    {"/tmp/pair.pdf", ".svg", "/tmp/pair.pdf.svg"},
    {"cqb", ".cqb", "cqb.cqb"},
};

TEST(WithExtension, AppendsTheExtensionOnlyWhenTheNameLacksIt) {
    for (const NameCase& c : kNames) EXPECT_EQ(WithExtension(c.typed, c.extension), c.written) << c.typed;
}

TEST(HasExtension, ComparesLettersWithoutCase) {
    EXPECT_TRUE(HasExtension("a.XlSx", ".xlsx"));
    EXPECT_FALSE(HasExtension("a.xls", ".xlsx"));
    EXPECT_FALSE(HasExtension("", ".cqb"));
    // Bytes beyond ASCII are compared as they are: no letter of another
    // script matches an extension.
    EXPECT_FALSE(HasExtension("a.ｃｑｂ", ".cqb"));
}

}  // namespace
