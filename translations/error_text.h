// What went wrong, for a window, in the interface's language. The file layer
// (files/, no Qt) words its sentences in Chinese as data; their parts are in
// the catalogue under the context wormgear::Files, and the sentence is put
// together again from them here.
//
//   ErrorText(FileError(FileError::Action::Open, "/a/x.cqb", ENOENT))
//     // Chinese: "无法打开文件“/a/x.cqb”：没有那个文件或目录"
//     // English: "Cannot open the file “/a/x.cqb”: No such file or directory"
//   FileSentenceText("无法写入文件“/a/x”：设备上没有空间")  // the same for a sentence
//     // already made (a workbook error of kind File carries one)
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace wormgear {

class FileError;

// The reason of a system error number: SystemErrorText in the interface's language.
QString SystemErrorReason(int systemError);
// FileError::reason() in the interface's language.
QString FileErrorReason(const FileError& error);
// A sentence of the file layer (a FileError's, a DataFolderError's) in the
// interface's language; any other text as it is.
QString FileSentenceText(const std::string& sentence);
// An error's what() for a window: the file layer's sentences in the
// interface's language, any other text as it is (the libraries above the
// file layer already word theirs through the catalogue).
QString ErrorText(const std::exception& error);

}  // namespace wormgear
