// FreeXL reading of OLE2 workbooks and the plain OOXML package they become.
#include "export/legacy_workbook.h"

#include <freexl.h>

// Built with a sanitizer (the tests' and the fuzzers' builds), whose
// callbacks a child process must not run.
#if defined(__SANITIZE_ADDRESS__)
#define WORMGEAR_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WORMGEAR_SANITIZED 1
#endif
#endif
#ifndef WORMGEAR_SANITIZED
#define WORMGEAR_SANITIZED 0
#endif
#if WORMGEAR_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <new>
#include <string>
#include <unordered_set>

#include "calc/text.h"
#include "export/ooxml.h"
#include "export/workbook.h"

namespace wormgear {
namespace {

using Kind = WorkbookError::Kind;

// A failure reading the binary workbook at `path`, the file named.
WorkbookError LegacyError(Kind kind, const std::string& detail, const std::string& path) {
    return WorkbookFileError(WorkbookError(kind, detail), path);
}

struct FreexlHandle {
    const void* handle = nullptr;
    ~FreexlHandle() {
        if (handle) freexl_close(handle);
    }
};

// The first sheet as FreeXL gives it.
struct LegacySheet {
    std::string name;
    std::vector<PlainCell> cells;
};

}  // namespace

bool LooksLikeOle2(const std::string& bytes) {
    static const unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    return bytes.size() >= 8 && std::memcmp(bytes.data(), kSignature, 8) == 0;
}

namespace {

// The XML of a value, a shared string and a row as PlainWorkbookPackage
// writes them, at their longest:
//   <c r="XFD1048576" t="s"><v>99999</v></c>, <c r="XFD1048576"><v>(24 digits)</v></c>
//   <si><t xml:space="preserve">TEXT</t></si>, <row r="1048576">...</row>
constexpr SheetCost kNumberCell{1, 0, 53, 4, 1};
constexpr SheetCost kTextCell{1, 0, 41, 4, 2};
constexpr SheetCost kString{0, 0, 36, 4, 1};
constexpr SheetCost kRow{0, 0, 23, 2, 1};
// The other parts Load parses (content types, relationships, workbook), and
// the cells a design's save adds: far less than this.
constexpr std::uint64_t kRoomBytes = 1u << 20, kRoomTags = 2000, kRoomAttributes = 2000;

}  // namespace

SheetCost& SheetCost::operator+=(const SheetCost& other) {
    cells += other.cells;
    textBytes += other.textBytes;
    xmlBytes += other.xmlBytes;
    tags += other.tags;
    attributes += other.attributes;
    return *this;
}

SheetCost SheetCost::Times(std::uint64_t times) const {
    return {cells * times, textBytes * times, xmlBytes * times, tags * times, attributes * times};
}

namespace {

std::string Stored(const std::string& text) { return XmlEscaped(EscapeSpreadsheetText(text)); }

}  // namespace

SheetCost CellCost(const std::string* text) {
    if (!text) return kNumberCell;
    SheetCost cost = kTextCell;
    cost.textBytes = Stored(*text).size();
    return cost;
}

SheetCost StringCost(const std::string& text) {
    const std::string stored = Stored(text);
    SheetCost cost = kString;
    cost.xmlBytes += stored.size();
    // Escaped, a text holds no '<'; its '=' count as XmlCost counts them.
    cost.attributes += static_cast<std::uint64_t>(std::count(stored.begin(), stored.end(), '='));
    return cost;
}

SheetCost RowCost() { return kRow; }

void SheetTally::Add(std::uint64_t times, const SheetCost& each) {
    // Within the bound, `used` never passes it: times * each fits when times
    // <= (bound - used) / each, which cannot overflow.
    auto fits = [times](std::uint64_t each, std::uint64_t used, std::uint64_t bound) {
        return each == 0 || times <= (bound - used) / each;
    };
    if (!fits(each.textBytes, total_.textBytes, kMaxSheetTextBytes)) {
        throw WorkbookError(Kind::TooLarge, std::string("工作表单元格的文字存入工作簿后共超过 ") + kMaxSheetTextShown +
                                                "（重复的单元格按每次重复计）");
    }
    if (!fits(each.cells, total_.cells, kMaxLegacyCells))
        throw WorkbookError(Kind::TooLarge, "工作表的值超过 " + std::to_string(kMaxLegacyCells) + " 个");
    if (!fits(each.xmlBytes, total_.xmlBytes, kMaxParsedXmlBytes - kRoomBytes) ||
        !fits(each.tags, total_.tags, kMaxXmlTags - kRoomTags) ||
        !fits(each.attributes, total_.attributes, kMaxXmlAttributes - kRoomAttributes)) {
        throw WorkbookError(Kind::TooLarge, "工作表的值过多：转换成的工作簿要解析的 XML 将超过 " +
                                                std::to_string(kMaxParsedXmlBytes >> 20) + " MiB 或 " +
                                                std::to_string(kMaxXmlTags) + " 个标记");
    }
    total_.cells += times * each.cells;
    total_.textBytes += times * each.textBytes;
    total_.xmlBytes += times * each.xmlBytes;
    total_.tags += times * each.tags;
    total_.attributes += times * each.attributes;
}

PackageEntries PlainWorkbookPackage(const std::string& sheetName, std::vector<PlainCell> cells) {
    std::stable_sort(cells.begin(), cells.end(), [](const PlainCell& a, const PlainCell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });

    OneSheetWorkbook book;
    if (!sheetName.empty()) book.sheetName = sheetName;
    std::string rows;
    int openRow = 0;
    for (const PlainCell& cell : cells) {
        if (cell.row != openRow) {
            if (openRow) rows += "</row>";
            rows += "<row r=\"" + std::to_string(cell.row) + "\">";
            openRow = cell.row;
        }
        const std::string ref = CellReference(cell.row, cell.column);
        if (const double* number = std::get_if<double>(&cell.value)) {
            rows += "<c r=\"" + ref + "\"><v>" + StoredNumber(*number) + "</v></c>";
        } else {
            const std::size_t index = book.strings.indexOf(std::get<std::string>(cell.value));
            rows += "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(index) + "</v></c>";
        }
    }
    if (openRow) rows += "</row>";
    book.worksheetContent = "<sheetData>" + rows + "</sheetData>";
    book.date = std::time(nullptr);
    return OneSheetWorkbookPackage(book);
}

// A name FreeXL can open for the bytes the caller read: an in-memory file,
// so that what is parsed is exactly what was read, and a FIFO or a file
// changed meanwhile under the name cannot stall or surprise the reader.
// `path` itself where the system has no in-memory files.
static std::string InMemoryCopy(const std::string& bytes, const std::string& path) {
    const int fd = ::memfd_create("legacy-workbook", 0);
    if (fd < 0) return path;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return path;
        done += static_cast<std::size_t>(n);
    }
    return "/proc/self/fd/" + std::to_string(fd);  // open until the child ends
}

// The first sheet's name and its values inside `kept` as FreeXL reads them,
// the whole sheet counted against the bounds. Runs in the child process of
// ReadLegacyWorkbook.
static LegacySheet ParseWithFreexl(const std::string& bytes, const std::string& path, SheetRegion kept) {
    const std::string source = InMemoryCopy(bytes, path);
    FreexlHandle xls;
    if (const int status = freexl_open(source.c_str(), &xls.handle); status != FREEXL_OK) {
        throw LegacyError(Kind::Damaged, "无法按旧版 .xls 格式读取（FreeXL 错误码 " + std::to_string(status) + "）",
                          path);
    }
    unsigned int sheetCount = 0;
    if (freexl_get_info(xls.handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK || sheetCount == 0) {
        throw LegacyError(Kind::NoSheet, "没有任何工作表", path);
    }
    const char* name = nullptr;
    if (freexl_get_worksheet_name(xls.handle, 0, &name) != FREEXL_OK) name = nullptr;
    if (freexl_select_active_worksheet(xls.handle, 0) != FREEXL_OK) {
        throw LegacyError(Kind::Damaged, "无法选中第一个工作表", path);
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(xls.handle, &rows, &columns) != FREEXL_OK) {
        throw LegacyError(Kind::Damaged, "无法读取工作表的大小", path);
    }

    std::vector<PlainCell> cells;
    SheetTally tally;
    // Each value counted before it is copied: every cell of a sheet may show
    // the same long shared string.
    auto count = [&](const SheetCost& cost) {
        try {
            tally.Add(1, cost);
        } catch (const WorkbookError& error) {
            throw LegacyError(error.kind(), error.what(), path);
        }
    };
    // FreeXL gives the cells of one shared string the same text: its shared
    // string in the converted workbook is counted once.
    std::unordered_set<const char*> strings;
    for (unsigned int r = 0; r < rows; ++r) {
        bool rowHeld = false;  // a value in this row, whose row element then counts
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(xls.handle, r, c, &value) != FREEXL_OK) {
                throw LegacyError(
                    Kind::Damaged,
                    "第 " + std::to_string(r + 1) + " 行第 " + std::to_string(c + 1) + " 列的单元格无法读取", path);
            }
            const int row = static_cast<int>(r) + 1;
            const int column = static_cast<int>(c) + 1;
            std::variant<double, std::string> held;
            switch (value.type) {
                case FREEXL_CELL_INT: held = static_cast<double>(value.value.int_value); break;
                case FREEXL_CELL_DOUBLE: held = value.value.double_value; break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (!value.value.text_value) continue;
                    held = std::string(value.value.text_value);
                    break;
                default: continue;  // empty, or a formula or boolean FreeXL does not return
            }
            if (!rowHeld) count(RowCost());
            rowHeld = true;
            const std::string* text = std::get_if<std::string>(&held);
            count(CellCost(text));
            if (text && (value.type != FREEXL_CELL_SST_TEXT || strings.insert(value.value.text_value).second))
                count(StringCost(*text));
            if (kept.Holds(row, column)) cells.push_back({row, column, std::move(held)});
        }
    }
    return {name ? name : "", std::move(cells)};
}

namespace {

// What crosses the pipe from the child: a status byte (0 read, 1 refused),
// then either the refusal's kind (one byte) and text or the sheet name and the
// cells, each text as a 32-bit length and its bytes.
void PutBytes(std::string& out, const void* data, std::size_t size) {
    out.append(static_cast<const char*>(data), size);
}
void PutText(std::string& out, const std::string& text) {
    const std::uint32_t size = static_cast<std::uint32_t>(text.size());
    PutBytes(out, &size, sizeof size);
    out += text;
}

class Reader {
 public:
    Reader(const std::string& bytes, const std::string& path) : bytes_(bytes), path_(path) {}
    void get(void* data, std::size_t size) {
        if (size > bytes_.size() - pos_) throw ShortAnswer();
        std::memcpy(data, bytes_.data() + pos_, size);
        pos_ += size;
    }
    std::string text() {
        std::uint32_t size;
        get(&size, sizeof size);
        if (size > bytes_.size() - pos_) throw ShortAnswer();
        std::string out = bytes_.substr(pos_, size);
        pos_ += size;
        return out;
    }
    bool done() const { return pos_ == bytes_.size(); }

 private:
    WorkbookError ShortAnswer() const { return LegacyError(Kind::Internal, "旧版 .xls 读取进程的结果不完整", path_); }

    const std::string& bytes_;
    const std::string& path_;
    std::size_t pos_ = 0;
};

std::string Encode(const LegacySheet& sheet) {
    std::string out(1, '\0');
    PutText(out, sheet.name);
    for (const PlainCell& cell : sheet.cells) {
        PutBytes(out, &cell.row, sizeof cell.row);
        PutBytes(out, &cell.column, sizeof cell.column);
        if (const double* number = std::get_if<double>(&cell.value)) {
            out += 'n';
            PutBytes(out, number, sizeof *number);
        } else {
            out += 't';
            PutText(out, std::get<std::string>(cell.value));
        }
    }
    return out;
}

std::string Refusal(const WorkbookError& error) {
    std::string out(1, '\1');
    out += static_cast<char>(error.kind());
    PutText(out, error.what());
    return out;
}

// The values of the workbook `bytes`, or the refusal of the reader.
std::string ChildAnswer(const std::string& bytes, const std::string& path, SheetRegion kept) {
    try {
        return Encode(ParseWithFreexl(bytes, path, kept));
    } catch (const WorkbookError& error) {
        return Refusal(error);
    } catch (const std::bad_alloc&) {
        return Refusal(LegacyError(Kind::Internal, "内存不足", path));
    } catch (const std::exception& error) {
        return Refusal(
            LegacyError(Kind::Internal, std::string("读取旧版 .xls 格式时出错（") + error.what() + "）", path));
    }
}

// The child's refusal comes with the file named already.
LegacySheet Decode(const std::string& bytes, const std::string& path) {
    if (bytes.empty()) throw LegacyError(Kind::Internal, "旧版 .xls 读取进程没有给出结果", path);
    Reader in(bytes, path);
    char status;
    in.get(&status, 1);
    if (status != 0) {
        char kind;
        in.get(&kind, 1);
        // File is the first kind and Internal the last.
        const bool known = kind >= static_cast<char>(Kind::File) && kind <= static_cast<char>(Kind::Internal);
        throw WorkbookError(known ? static_cast<Kind>(kind) : Kind::Internal, in.text());
    }
    LegacySheet sheet;
    sheet.name = in.text();
    while (!in.done()) {
        if (sheet.cells.size() >= kMaxLegacyCells) {
            throw LegacyError(Kind::TooLarge, "单元格超过 " + std::to_string(kMaxLegacyCells) + " 个", path);
        }
        PlainCell cell{0, 0, 0.0};
        in.get(&cell.row, sizeof cell.row);
        in.get(&cell.column, sizeof cell.column);
        char kind;
        in.get(&kind, 1);
        if (kind == 'n') {
            double number;
            in.get(&number, sizeof number);
            cell.value = number;
        } else {
            cell.value = in.text();
        }
        sheet.cells.push_back(std::move(cell));
    }
    return sheet;
}

void WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

// The address space the process holds now, from /proc/self/statm (pages).
std::uint64_t AddressSpaceBytes() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

struct ChildReaper {
    pid_t child;
    int readEnd;
    ~ChildReaper() {
        if (readEnd >= 0) ::close(readEnd);
        if (child > 0) {
            ::kill(child, SIGKILL);
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }
    }
};

}  // namespace

std::string RunBoundedChild(const std::function<std::string()>& work, const ChildLimits& limits,
                            const std::string& path) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw LegacyError(Kind::Internal, "无法启动旧版 .xls 读取进程", path);
    const std::uint64_t addressSpace = AddressSpaceBytes();
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        throw LegacyError(Kind::Internal, "无法启动旧版 .xls 读取进程", path);
    }
    if (child == 0) {
        ::close(pipeEnds[0]);
        // A reader that crashes just ends, saying nothing: the parent's
        // handlers and what it prints to (a crash reporter, a sanitizer's
        // report of FreeXL's faults) are not the child's.
        for (const int fault : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT}) ::signal(fault, SIG_DFL);
        const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (quiet >= 0) ::dup2(quiet, STDERR_FILENO);
#if WORMGEAR_SANITIZED
        __sanitizer_set_death_callback(nullptr);
#endif
        // What the reader may allocate beyond what it inherits; an allocation
        // beyond fails there, as in a program out of memory.
        rlimit memory{};
        memory.rlim_cur = memory.rlim_max = addressSpace + limits.memoryBytes;
        ::setrlimit(RLIMIT_AS, &memory);
        // Nothing may leave this block but _exit: an exception would unwind
        // into the parent's code running in the child. Without an answer the
        // parent reports that the reader gave none.
        try {
            WriteAll(pipeEnds[1], work());
        } catch (...) {
        }
        ::_exit(0);  // no destructors or exit handlers of the parent's state
    }
    ::close(pipeEnds[1]);
    ChildReaper reaper{child, pipeEnds[0]};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limits.seconds);
    std::string answer;
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                                std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            throw LegacyError(Kind::Damaged,
                              "读取旧版 .xls 格式超过 " + std::to_string(limits.seconds) + " 秒仍未完成，已停止", path);
        }
        pollfd ready{reaper.readEnd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) continue;
        if (polled <= 0) continue;  // the deadline is checked above
        const ssize_t n = ::read(reaper.readEnd, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) break;
        if (answer.size() + static_cast<std::size_t>(n) > limits.answerBytes) {
            throw LegacyError(Kind::TooLarge, "旧版 .xls 读取进程的结果过大", path);
        }
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    reaper.child = -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw LegacyError(Kind::Damaged, "读取进程在读取旧版 .xls 格式时异常终止", path);
    }
    return answer;
}

PackageEntries ReadLegacyWorkbook(const std::string& path, const std::string& bytes, SheetRegion kept) {
    // FreeXL is old C code that a damaged file can make write past its own
    // buffers, loop or allocate without end. It therefore parses in a child
    // process of its own: whatever a hostile file does there, this process
    // gets the values or a refusal within the child's bounds, never a
    // corrupted stack or a hang.
    const std::string answer = RunBoundedChild([&] { return ChildAnswer(bytes, path, kept); }, kLegacyReaderLimits,
                                               path);
    LegacySheet sheet = Decode(answer, path);
    try {
        return PlainWorkbookPackage(sheet.name, std::move(sheet.cells));
    } catch (const WorkbookError& error) {
        // A cell position beyond a sheet, as only a damaged file gives it.
        throw LegacyError(Kind::Damaged, error.what(), path);
    }
}

}  // namespace wormgear
