// The real start of the window program says nothing on the error stream,
// also in a session that names no runtime folder (started by su, sudo or
// cron: XDG_RUNTIME_DIR unset), where Qt would warn of it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "app/program.h"

namespace {

TEST(StartupQuietTest, NothingOnTheErrorStreamWithoutARuntimeFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string errors = folder.path().toStdString() + "/stderr";
    unsetenv("XDG_RUNTIME_DIR");
    // Qt's fallback folder goes into the test's own temporary folder.
    setenv("TMPDIR", folder.path().toLocal8Bit().constData(), 1);
    setenv("WORMGEAR_SERVER", "http://127.0.0.1:9", 1);  // port 9 is closed: no server is asked

    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    const int file = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(file, 0);
    ::dup2(file, STDERR_FILENO);
    ::close(file);
    wormgear::ProgramHooks hooks;
    hooks.whenShown = [](wormgear::TForm1&) { QCoreApplication::exit(0); };
    int argc = 1;
    char name[] = "wormgear";
    char* argv[] = {name, nullptr};
    const int status = wormgear::RunWindowProgram(argc, argv, hooks);
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);

    EXPECT_EQ(status, 0);
    std::ifstream in(errors);
    std::ostringstream written;
    written << in.rdbuf();
    EXPECT_EQ(written.str(), "");
}

}  // namespace
