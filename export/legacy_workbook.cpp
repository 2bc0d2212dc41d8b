// FreeXL reading of OLE2 workbooks and the plain OOXML package they become.
#include "export/legacy_workbook.h"

#include <freexl.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <charconv>
#include <cstring>

#include "export/ooxml.h"
#include "export/workbook.h"

namespace wormgear {
namespace {

// The shortest decimal text that reads back as the same double: file content,
// not text for the user.
std::string StoredNumber(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
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

PackageEntries PlainWorkbookPackage(const std::string& sheetName, const std::vector<PlainCell>& cells) {
    std::vector<PlainCell> sorted = cells;
    std::stable_sort(sorted.begin(), sorted.end(), [](const PlainCell& a, const PlainCell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });

    OneSheetWorkbook book;
    if (!sheetName.empty()) book.sheetName = sheetName;
    std::string rows;
    int openRow = 0;
    for (const PlainCell& cell : sorted) {
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

// The first sheet's name and values as FreeXL reads them. Runs in the child
// process of ReadLegacyWorkbook.
static LegacySheet ParseWithFreexl(const std::string& path) {
    // FreeXL reads the whole file into its own structures; keep hostile sizes out.
    ReadWorkbookFile(path);
    FreexlHandle xls;
    if (freexl_open(path.c_str(), &xls.handle) != FREEXL_OK) throw WorkbookError("not a readable binary workbook: " + path);
    unsigned int sheetCount = 0;
    if (freexl_get_info(xls.handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK || sheetCount == 0) {
        throw WorkbookError("the binary workbook has no worksheet: " + path);
    }
    const char* name = nullptr;
    if (freexl_get_worksheet_name(xls.handle, 0, &name) != FREEXL_OK) name = nullptr;
    if (freexl_select_active_worksheet(xls.handle, 0) != FREEXL_OK) throw WorkbookError("cannot select the first worksheet: " + path);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(xls.handle, &rows, &columns) != FREEXL_OK) {
        throw WorkbookError("cannot read the sheet size: " + path);
    }

    std::vector<PlainCell> cells;
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(xls.handle, r, c, &value) != FREEXL_OK) {
                throw WorkbookError("damaged cell in binary workbook: " + path);
            }
            int row = static_cast<int>(r) + 1;
            int column = static_cast<int>(c) + 1;
            switch (value.type) {
                case FREEXL_CELL_INT:
                    cells.push_back({row, column, static_cast<double>(value.value.int_value)});
                    break;
                case FREEXL_CELL_DOUBLE:
                    cells.push_back({row, column, value.value.double_value});
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (value.value.text_value) cells.push_back({row, column, std::string(value.value.text_value)});
                    break;
                default:
                    break;  // empty, or a formula or boolean FreeXL does not return
            }
        }
    }
    return {name ? name : "", std::move(cells)};
}

namespace {

// What crosses the pipe from the child: a status byte (0 read, 1 refused),
// then either the refusal's text or the sheet name and the cells, each text as
// a 32-bit length and its bytes.
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
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    void get(void* data, std::size_t size) {
        if (size > bytes_.size() - pos_) throw WorkbookError("binary workbook reader: short answer");
        std::memcpy(data, bytes_.data() + pos_, size);
        pos_ += size;
    }
    std::string text() {
        std::uint32_t size;
        get(&size, sizeof size);
        if (size > bytes_.size() - pos_) throw WorkbookError("binary workbook reader: short answer");
        std::string out = bytes_.substr(pos_, size);
        pos_ += size;
        return out;
    }
    bool done() const { return pos_ == bytes_.size(); }

 private:
    const std::string& bytes_;
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

LegacySheet Decode(const std::string& bytes) {
    if (bytes.empty()) throw WorkbookError("the binary workbook reader stopped without an answer");
    Reader in(bytes);
    char status;
    in.get(&status, 1);
    if (status != 0) throw WorkbookError(in.text());
    LegacySheet sheet;
    sheet.name = in.text();
    while (!in.done()) {
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

}  // namespace

PackageEntries ReadLegacyWorkbook(const std::string& path) {
    // FreeXL is old C code that a damaged file can make write past its own
    // buffers. It therefore parses in a child process of its own: whatever a
    // hostile file does there, this process gets the values or a refusal,
    // never a corrupted stack.
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) throw WorkbookError("cannot start the binary workbook reader");
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        throw WorkbookError("cannot start the binary workbook reader");
    }
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::string answer;
        try {
            answer = Encode(ParseWithFreexl(path));
        } catch (const std::exception& error) {
            answer.assign(1, '\1');
            PutText(answer, error.what());
        }
        WriteAll(pipeEnds[1], answer);
        ::_exit(0);  // no destructors or exit handlers of the parent's state
    }
    ::close(pipeEnds[1]);
    std::string answer;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw WorkbookError("the binary workbook is damaged (its reader failed): " + path);
    }
    const LegacySheet sheet = Decode(answer);
    return PlainWorkbookPackage(sheet.name, sheet.cells);
}

}  // namespace wormgear
