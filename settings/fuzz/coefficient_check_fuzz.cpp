// Fuzzes the checks a settings file passes before it may replace db1.mdb, on
// arbitrary SQLite file bytes: in memory (CheckCoefficientImage) and as a
// file through the consistent copy (CheckUsableCoefficientFile). Only
// CoefficientStoreError may come out, and every connection is closed after.
#include <unistd.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/file_io.h"
#include "settings/coefficient_store.h"

using namespace wormgear;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Qt SQL finds its SQLite driver through the application.
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    static const std::string folder = [] {
        char name[] = "/tmp/coefficient_check_fuzz-XXXXXX";
        return std::string(::mkdtemp(name));
    }();
    try {
        CheckCoefficientImage(bytes, '.');
    } catch (const CoefficientStoreError&) {
    }
    const std::string path = folder + "/set.ccq";
    for (const char* sidecar : {"-journal", "-wal", "-shm"}) ::unlink((path + sidecar).c_str());
    ReplaceFileAtomically(path, bytes);
    try {
        CheckUsableCoefficientFile(QString::fromStdString(path), '.');
    } catch (const CoefficientStoreError&) {
    }
    if (!QSqlDatabase::connectionNames().isEmpty()) std::abort();
    return 0;
}
