// Small helpers the online tests share: readable names for table-driven
// tests, and a disk that takes no more bytes.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cctype>
#include <csignal>
#include <string>

namespace wormgear::testing {

// The case's name with every character that is not a letter or digit as '_':
// INSTANTIATE_TEST_SUITE_P(..., ParamName<Case>) for cases with a `name`.
template <typename Case>
std::string ParamName(const ::testing::TestParamInfo<Case>& info) {
    std::string name;
    for (const char* p = info.param.name; *p != '\0'; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

// For its lifetime, every write of a file beyond `bytes` fails as it does on
// a full disk (EFBIG from the process's file-size limit, in place of ENOSPC),
// without needing root or a file system of its own.
class FileSizeLimit {
 public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
    rlimit previous_{};
    void (*previousSignal_)(int) = nullptr;
};

}  // namespace wormgear::testing
