// Writing a sheet as an AutoCAD 2000 DXF file: header, tables, blocks (one
// per dimension), entities and the objects a drawing of that version needs.
#include "drawing/dxf_writer.h"

#include <iconv.h>

#include <charconv>
#include <cmath>
#include <map>

#include "calc/text.h"
#include "drawing/sheet_builder.h"
#include "files/file_io.h"

namespace wormgear {

namespace {

using namespace drawing;

// Longest string value the format takes in one group.
constexpr std::size_t kMaxStringBytes = 250;

// The style of the texts with characters beyond ASCII (Chinese, Greek):
// LibreCAD takes a text's font by its style's name, and wqy-unicode is the
// Chinese font LibreCAD ships (made from WenQuanYi Micro Hei); the other
// programs take the style's TrueType font, SimSun, which every Chinese
// Windows has and readers elsewhere replace by a Chinese font of their own.
// In the drafting fonts' style (gbcbig.shx) a program without them showed
// every Chinese character as a box or a diamond.
constexpr const char* kWideTextStyle = "wqy-unicode";
constexpr const char* kWideTextFont = "simsun.ttc";

// Whether a text needs no more than the drafting fonts' Latin letters: the
// diameter, degree and plus-minus signs are control codes of those fonts.
bool AsciiOnly(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            ++i;
            continue;
        }
        bool sign = false;
        for (std::string_view code :
             {std::string_view("\u2300"), std::string_view("\u00B0"), std::string_view("\u00B1")}) {
            if (utf8.substr(i, code.size()) == code) {
                i += code.size();
                sign = true;
                break;
            }
        }
        if (!sign) return false;
    }
    return true;
}

// UTF-8 to GBK, one character at a time; a character GBK lacks (or a
// system without the converter) becomes \U+XXXX, which CAD programs read.
class GbkEncoder {
 public:
    GbkEncoder() : converter_(iconv_open("GBK", "UTF-8")) {}
    ~GbkEncoder() {
        if (converter_ != reinterpret_cast<iconv_t>(-1)) iconv_close(converter_);
    }
    GbkEncoder(const GbkEncoder&) = delete;
    GbkEncoder& operator=(const GbkEncoder&) = delete;

    // Appends the bytes of one character given as UTF-8.
    void append(std::string& out, std::string_view character, std::uint32_t codePoint) {
        if (converter_ != reinterpret_cast<iconv_t>(-1)) {
            char buffer[8];
            char* in = const_cast<char*>(character.data());
            std::size_t inLeft = character.size(), outLeft = sizeof buffer;
            char* target = buffer;
            iconv(converter_, nullptr, nullptr, nullptr, nullptr);
            if (iconv(converter_, &in, &inLeft, &target, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0) {
                out.append(buffer, static_cast<std::size_t>(target - buffer));
                return;
            }
        }
        char escape[12];
        std::snprintf(escape, sizeof escape, "\\U+%04X", codePoint);
        out += escape;
    }

 private:
    iconv_t converter_;
};

// Decodes the next UTF-8 character of `text` at `i`; invalid bytes count as U+FFFD.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size() || !IsValidUtf8(text.substr(i, length))) {
        length = 1;
        return 0xFFFD;
    }
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (byte(i + k) & 0x3F);
    return code;
}

std::string EncodeText(const std::string& utf8, GbkEncoder& encoder) {
    // A "%%" of the text itself would be read as a control code: "%%%" is a
    // literal percent sign.
    const bool protectPercent = utf8.find("%%") != std::string::npos;
    std::string out;
    out.reserve(utf8.size() + 8);
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 0;
        const std::uint32_t code = NextCodePoint(utf8, i, length);
        const std::size_t before = out.size();
        if (code == 0x2300) out += "%%c";
        else if (code == 0x00B0) out += "%%d";
        else if (code == 0x00B1) out += "%%p";
        else if (code == '%' && protectPercent) out += "%%%";
        else if (code == '\\' && (utf8.compare(i + 1, 2, "U+") == 0 || utf8.compare(i + 1, 2, "M+") == 0))
            out += "\\U+005C";  // a backslash that would start an escape
        else if (code < 0x20 || code == 0x7F) out += ' ';
        else if (code < 0x80) out += static_cast<char>(code);
        else encoder.append(out, std::string_view(utf8).substr(i, length), code);
        if (out.size() > kMaxStringBytes) {
            out.resize(before);  // whole characters only
            break;
        }
        i += length;
    }
    return out;
}

std::string Number(double value) {
    if (value == 0 || !std::isfinite(value)) return "0.0";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

std::string Hex(unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", value);
    return buffer;
}

// Group code and value pairs.
class DxfStream {
 public:
    void pair(int code, std::string_view value) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "%3d\n", code);
        out_ += buffer;
        out_ += value;
        out_ += '\n';
    }
    void pair(int code, const char* value) { pair(code, std::string_view(value)); }
    void pair(int code, const std::string& value) { pair(code, std::string_view(value)); }
    void integer(int code, long value) { pair(code, std::to_string(value)); }
    void real(int code, double value) { pair(code, Number(value)); }
    void handle(int code, unsigned value) { pair(code, Hex(value)); }
    void point(int code, Point p) {
        real(code, p.x);
        real(code + 10, p.y);
        real(code + 20, 0);
    }
    std::string& str() { return out_; }

 private:
    std::string out_;
};

// The writer of one document: the handles of the structure are fixed before
// any section is written, entities take theirs as they come.
class DxfWriter {
 public:
    explicit DxfWriter(const Sheet& sheet) : sheet_(sheet) {
        for (const Dimension& d : sheet.dimensions) {
            if (!styles_.count(d.lengthFactor)) {
                const std::size_t n = styles_.size();
                styles_[d.lengthFactor] = n == 0 && d.lengthFactor == 1 ? "GB" : "GB-" + std::to_string(n);
            }
        }
        if (!styles_.count(1)) styles_[1] = "GB";
        for (auto& [factor, name] : styles_) styleHandles_[factor] = next();
        for (std::size_t i = 0; i < sheet.dimensions.size(); ++i) dimensionRecords_.push_back(next());
    }

    std::string document() {
        DxfStream body;
        tables(body);
        blocks(body);
        entities(body);
        objects(body);
        DxfStream head;
        header(head);
        head.pair(0, "SECTION");
        head.pair(2, "CLASSES");
        head.pair(0, "ENDSEC");
        std::string file = std::move(head.str());
        file += body.str();
        file += "  0\nEOF\n";
        return file;
    }

 private:
    unsigned next() { return handle_++; }

    void header(DxfStream& s) {
        const double n = sheet_.scale;
        const Point far{sheet_.width * n, sheet_.height * n};
        s.pair(0, "SECTION");
        s.pair(2, "HEADER");
        s.pair(9, "$ACADVER");
        s.pair(1, "AC1015");
        s.pair(9, "$ACADMAINTVER");
        s.integer(70, 6);
        s.pair(9, "$DWGCODEPAGE");
        s.pair(3, "ANSI_936");
        s.pair(9, "$INSBASE");
        s.point(10, {0, 0});
        s.pair(9, "$EXTMIN");
        s.point(10, {0, 0});
        s.pair(9, "$EXTMAX");
        s.point(10, far);
        s.pair(9, "$LIMMIN");
        s.real(10, 0);
        s.real(20, 0);
        s.pair(9, "$LIMMAX");
        s.real(10, far.x);
        s.real(20, far.y);
        // Line patterns and dimensions are given in paper millimetres.
        s.pair(9, "$LTSCALE");
        s.real(40, n);
        s.pair(9, "$DIMSCALE");
        s.real(40, n);
        s.pair(9, "$TEXTSTYLE");
        s.pair(7, "GB");
        s.pair(9, "$DIMSTYLE");
        s.pair(2, "GB");
        s.pair(9, "$CLAYER");
        s.pair(8, "0");
        s.pair(9, "$LUNITS");
        s.integer(70, 2);
        s.pair(9, "$LUPREC");
        s.integer(70, 3);
        s.pair(9, "$INSUNITS");
        s.integer(70, 4);  // millimetres
        s.pair(9, "$MEASUREMENT");
        s.integer(70, 1);  // metric
        s.pair(9, "$LWDISPLAY");
        s.integer(290, 1);
        s.pair(9, "$HANDSEED");
        s.handle(5, handle_);
        s.pair(0, "ENDSEC");
    }

    void tableStart(DxfStream& s, const char* name, unsigned handle, int count) {
        s.pair(0, "TABLE");
        s.pair(2, name);
        s.handle(5, handle);
        s.handle(330, 0);
        s.pair(100, "AcDbSymbolTable");
        s.integer(70, count);
    }
    void record(DxfStream& s, const char* type, unsigned handle, unsigned table, const char* subclass) {
        s.pair(0, type);
        s.handle(std::string_view(type) == "DIMSTYLE" ? 105 : 5, handle);
        s.handle(330, table);
        s.pair(100, "AcDbSymbolTableRecord");
        s.pair(100, subclass);
    }

    void tables(DxfStream& s) {
        const double n = sheet_.scale;
        s.pair(0, "SECTION");
        s.pair(2, "TABLES");

        // The view shows the whole sheet.
        const unsigned vports = next();
        tableStart(s, "VPORT", vports, 1);
        record(s, "VPORT", next(), vports, "AcDbViewportTableRecord");
        s.pair(2, "*ACTIVE");
        s.integer(70, 0);
        const std::pair<int, double> view[] = {{10, 0},
                                               {20, 0},
                                               {11, 1},
                                               {21, 1},
                                               {12, sheet_.width * n / 2},
                                               {22, sheet_.height * n / 2},
                                               {13, 0},
                                               {23, 0},
                                               {14, 10},
                                               {24, 10},
                                               {15, 10},
                                               {25, 10},
                                               {16, 0},
                                               {26, 0},
                                               {36, 1},
                                               {17, 0},
                                               {27, 0},
                                               {37, 0},
                                               {40, sheet_.height * n * 1.05},
                                               {41, sheet_.height > 0 ? sheet_.width / sheet_.height : 1},
                                               {42, 50},
                                               {43, 0},
                                               {44, 0},
                                               {50, 0},
                                               {51, 0}};
        for (auto [code, value] : view) s.real(code, value);
        for (auto [code, value] : {std::pair{71, 0}, {72, 100}, {73, 1}, {74, 3}, {75, 0}, {76, 0}, {77, 0}, {78, 0}})
            s.integer(code, value);
        s.pair(0, "ENDTAB");

        // Line types, their dashes in paper millimetres.
        struct LineType {
            const char* name;
            const char* description;
            std::vector<double> dashes;
        };
        const LineType lineTypes[] = {{"ByBlock", "", {}},
                                      {"ByLayer", "", {}},
                                      {"Continuous", "Solid line", {}},
                                      {"CENTER", "Center ____ _ ____ _", {12, -3, 0.5, -3}},
                                      {"HIDDEN", "Hidden __ __ __", {4, -1.5}}};
        const unsigned ltypes = next();
        tableStart(s, "LTYPE", ltypes, static_cast<int>(std::size(lineTypes)));
        for (const LineType& type : lineTypes) {
            record(s, "LTYPE", next(), ltypes, "AcDbLinetypeTableRecord");
            s.pair(2, type.name);
            s.integer(70, 0);
            s.pair(3, type.description);
            s.integer(72, 65);
            s.integer(73, static_cast<int>(type.dashes.size()));
            double total = 0;
            for (double dash : type.dashes) total += std::abs(dash);
            s.real(40, total);
            for (double dash : type.dashes) {
                s.real(49, dash);
                s.integer(74, 0);
            }
        }
        s.pair(0, "ENDTAB");

        const unsigned layers = next();
        tableStart(s, "LAYER", layers, kLayerCount + 1);
        const auto layer = [&](const char* name, int colour, const char* lineType, int weight) {
            record(s, "LAYER", next(), layers, "AcDbLayerTableRecord");
            s.pair(2, name);
            s.integer(70, 0);
            s.integer(62, colour);
            s.pair(6, lineType);
            s.integer(370, weight);
        };
        layer("0", 7, "Continuous", -3);
        for (const LayerDescription& d : Layers()) {
            const char* type = d.style == LineStyle::Centre   ? "CENTER"
                               : d.style == LineStyle::Hidden ? "HIDDEN"
                                                              : "Continuous";
            layer(d.name, d.colour, type, static_cast<int>(std::lround(d.width * 100)));
        }
        s.pair(0, "ENDTAB");

        // Standard; the Chinese drafting fonts for numbers and Latin letters
        // (upright Latin letters and the big font); and a TrueType style for
        // every text with Chinese or Greek, which CAD programs without the
        // drafting fonts draw too (see kWideTextStyle).
        const unsigned styles = next();
        tableStart(s, "STYLE", styles, 3);
        gbStyle_ = next();
        const auto style = [&](unsigned handle, const char* name, double height, const char* font, const char* big) {
            record(s, "STYLE", handle, styles, "AcDbTextStyleTableRecord");
            s.pair(2, name);
            s.integer(70, 0);
            for (auto [code, value] : {std::pair{40, 0.0}, {41, 1.0}, {50, 0.0}}) s.real(code, value);
            s.integer(71, 0);
            s.real(42, height);
            s.pair(3, font);
            s.pair(4, big);
        };
        style(next(), "Standard", 2.5, "txt", "");
        style(gbStyle_, "GB", 3.5, "gbenor.shx", "gbcbig.shx");
        style(next(), kWideTextStyle, 3.5, kWideTextFont, "");
        s.pair(0, "ENDTAB");

        tableStart(s, "VIEW", next(), 0);
        s.pair(0, "ENDTAB");
        tableStart(s, "UCS", next(), 0);
        s.pair(0, "ENDTAB");

        const unsigned appids = next();
        tableStart(s, "APPID", appids, 1);
        record(s, "APPID", next(), appids, "AcDbRegAppTableRecord");
        s.pair(2, "ACAD");
        s.integer(70, 0);
        s.pair(0, "ENDTAB");

        // One dimension style per length factor: a detail drawn k times
        // enlarged measures with 1/k.
        const unsigned dimstyles = next();
        tableStart(s, "DIMSTYLE", dimstyles, static_cast<int>(styles_.size()));
        s.pair(100, "AcDbDimStyleTable");
        s.integer(71, 0);
        for (const auto& [factor, name] : styles_) {
            record(s, "DIMSTYLE", styleHandles_[factor], dimstyles, "AcDbDimStyleTableRecord");
            s.pair(2, name);
            s.integer(70, 0);
            s.real(40, n);        // DIMSCALE
            s.real(41, 3);        // DIMASZ
            s.real(42, 0);        // DIMEXO
            s.real(44, 2);        // DIMEXE
            s.real(140, 3.5);     // DIMTXT
            s.real(147, 1);       // DIMGAP
            s.real(144, factor);  // DIMLFAC
            s.integer(73, 0);     // DIMTIH: texts along their lines
            s.integer(74, 0);     // DIMTOH
            s.integer(77, 1);     // DIMTAD: above the line
            s.integer(271, 3);    // DIMDEC
            s.handle(340, gbStyle_);
        }
        s.pair(0, "ENDTAB");

        const unsigned records = next();
        modelRecord_ = next();
        paperRecord_ = next();
        modelLayout_ = next();
        paperLayout_ = next();
        tableStart(s, "BLOCK_RECORD", records, static_cast<int>(2 + dimensionRecords_.size()));
        const auto blockRecord = [&](unsigned handle, const std::string& name, unsigned layout) {
            record(s, "BLOCK_RECORD", handle, records, "AcDbBlockTableRecord");
            s.pair(2, name);
            s.handle(340, layout);
        };
        blockRecord(modelRecord_, "*Model_Space", modelLayout_);
        blockRecord(paperRecord_, "*Paper_Space", paperLayout_);
        for (std::size_t i = 0; i < dimensionRecords_.size(); ++i) blockRecord(dimensionRecords_[i], BlockName(i), 0);
        s.pair(0, "ENDTAB");
        s.pair(0, "ENDSEC");
    }

    static std::string BlockName(std::size_t index) { return "*D" + std::to_string(index + 1); }

    void block(DxfStream& s, unsigned record, const std::string& name, bool paper, bool anonymous,
               const Graphics* graphics) {
        s.pair(0, "BLOCK");
        s.handle(5, next());
        s.handle(330, record);
        s.pair(100, "AcDbEntity");
        if (paper) s.integer(67, 1);
        s.pair(8, "0");
        s.pair(100, "AcDbBlockBegin");
        s.pair(2, name);
        s.integer(70, anonymous ? 1 : 0);
        s.point(10, {0, 0});
        s.pair(3, name);
        s.pair(1, "");
        if (graphics) write(s, *graphics, record);
        s.pair(0, "ENDBLK");
        s.handle(5, next());
        s.handle(330, record);
        s.pair(100, "AcDbEntity");
        if (paper) s.integer(67, 1);
        s.pair(8, "0");
        s.pair(100, "AcDbBlockEnd");
    }

    void blocks(DxfStream& s) {
        s.pair(0, "SECTION");
        s.pair(2, "BLOCKS");
        block(s, modelRecord_, "*Model_Space", false, false, nullptr);
        block(s, paperRecord_, "*Paper_Space", true, false, nullptr);
        for (std::size_t i = 0; i < sheet_.dimensions.size(); ++i)
            block(s, dimensionRecords_[i], BlockName(i), false, true, &sheet_.dimensions[i].graphics);
        s.pair(0, "ENDSEC");
    }

    void entityStart(DxfStream& s, const char* type, unsigned owner, Layer layer) {
        s.pair(0, type);
        s.handle(5, next());
        s.handle(330, owner);
        s.pair(100, "AcDbEntity");
        s.pair(8, LayerOf(layer).name);
    }

    void write(DxfStream& s, const Graphics& g, unsigned owner) {
        for (const LineEntity& line : g.lines) {
            entityStart(s, "LINE", owner, line.layer);
            s.pair(100, "AcDbLine");
            s.point(10, line.a);
            s.point(11, line.b);
        }
        for (const CircleEntity& circle : g.circles) {
            entityStart(s, "CIRCLE", owner, circle.layer);
            s.pair(100, "AcDbCircle");
            s.point(10, circle.centre);
            s.real(40, circle.radius);
        }
        for (const ArcEntity& arc : g.arcs) {
            entityStart(s, "ARC", owner, arc.layer);
            s.pair(100, "AcDbCircle");
            s.point(10, arc.centre);
            s.real(40, arc.radius);
            s.pair(100, "AcDbArc");
            s.real(50, arc.start);
            s.real(51, arc.end);
        }
        for (const PolylineEntity& outline : g.outlines) {
            entityStart(s, "LWPOLYLINE", owner, outline.layer);
            s.pair(100, "AcDbPolyline");
            s.integer(90, static_cast<long>(outline.vertices.size()));
            s.integer(70, 1);  // closed
            s.real(43, 0);
            for (const PolyVertex& v : outline.vertices) {
                s.real(10, v.at.x);
                s.real(20, v.at.y);
                if (v.bulge != 0) s.real(42, v.bulge);
            }
        }
        for (const TriangleEntity& t : g.triangles) {
            entityStart(s, "SOLID", owner, t.layer);
            s.pair(100, "AcDbTrace");
            s.point(10, t.a);
            s.point(11, t.b);
            s.point(12, t.c);
            s.point(13, t.c);
        }
        for (const TextEntity& text : g.texts) {
            entityStart(s, "TEXT", owner, text.layer);
            s.pair(100, "AcDbText");
            s.point(10, text.at);
            s.real(40, text.height);
            s.pair(1, EncodeText(text.text, encoder_));
            if (text.rotation != 0) s.real(50, text.rotation);
            if (text.widthFactor != 1) s.real(41, text.widthFactor);
            s.pair(7, AsciiOnly(text.text) ? "GB" : kWideTextStyle);
            const int h = text.h == HAlign::Left ? 0 : text.h == HAlign::Centre ? 1 : 2;
            const int v = text.v == VAlign::Baseline ? 0 : text.v == VAlign::Middle ? 2 : 3;
            if (h != 0) s.integer(72, h);
            if (h != 0 || v != 0) s.point(11, text.at);
            s.pair(100, "AcDbText");
            if (v != 0) s.integer(73, v);
        }
    }

    void entities(DxfStream& s) {
        s.pair(0, "SECTION");
        s.pair(2, "ENTITIES");
        write(s, sheet_.graphics, modelRecord_);
        for (std::size_t i = 0; i < sheet_.dimensions.size(); ++i) dimension(s, sheet_.dimensions[i], i);
        s.pair(0, "ENDSEC");
    }

    void dimension(DxfStream& s, const Dimension& d, std::size_t index) {
        entityStart(s, "DIMENSION", modelRecord_, Layer::Dimension);
        s.pair(100, "AcDbDimension");
        s.pair(2, BlockName(index));
        s.point(10, d.defpoint);
        s.point(11, d.textAt);
        // 32: the block belongs to this dimension only; 128: the text stands
        // where the block shows it.
        const int type = d.kind == DimensionKind::Linear     ? 0
                         : d.kind == DimensionKind::Diameter ? 3
                         : d.kind == DimensionKind::Radius   ? 4
                                                             : 5;
        s.integer(70, type | 32 | 128);
        s.pair(1, EncodeText(DecoratedText(d.value, d.decoration), encoder_));
        s.pair(3, styles_.at(d.lengthFactor));
        s.real(42, d.measurement());
        switch (d.kind) {
            case DimensionKind::Linear:
                s.pair(100, "AcDbAlignedDimension");
                s.point(13, d.first);
                s.point(14, d.second);
                s.real(50, d.rotation);
                s.pair(100, "AcDbRotatedDimension");
                break;
            case DimensionKind::Diameter:
                s.pair(100, "AcDbDiametricDimension");
                s.point(15, d.curve);
                s.real(40, 0);
                break;
            case DimensionKind::Radius:
                s.pair(100, "AcDbRadialDimension");
                s.point(15, d.curve);
                s.real(40, 0);
                break;
            case DimensionKind::Angular:
                s.pair(100, "AcDb3PointAngularDimension");
                s.point(13, d.first);
                s.point(14, d.second);
                s.point(15, d.curve);
                break;
        }
        // The detail's linear factor once more as the entity's own override
        // (DIMLFAC, group 144, in the ACAD application's DSTYLE list), so
        // that it measures its true length also under another style.
        if (d.lengthFactor != 1) {
            s.pair(1001, "ACAD");
            s.pair(1000, "DSTYLE");
            s.pair(1002, "{");
            s.integer(1070, 144);
            s.real(1040, d.lengthFactor);
            s.pair(1002, "}");
        }
    }

    void dictionary(DxfStream& s, unsigned handle, unsigned owner,
                    const std::vector<std::pair<const char*, unsigned>>& entries) {
        s.pair(0, "DICTIONARY");
        s.handle(5, handle);
        s.handle(330, owner);
        s.pair(100, "AcDbDictionary");
        s.integer(281, 1);
        for (const auto& [name, target] : entries) {
            s.pair(3, name);
            s.handle(350, target);
        }
    }

    void layout(DxfStream& s, unsigned handle, unsigned owner, const char* name, int order, unsigned record) {
        s.pair(0, "LAYOUT");
        s.handle(5, handle);
        s.handle(330, owner);
        s.pair(100, "AcDbPlotSettings");
        s.pair(1, "");
        s.pair(2, "none_device");
        s.pair(4, "");
        s.pair(6, "");
        for (int code : {40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 140, 141}) s.real(code, 0);
        s.real(142, 1);
        s.real(143, 1);
        s.integer(70, 688);
        s.integer(72, 1);  // millimetres
        s.integer(73, 0);
        s.integer(74, 5);
        s.pair(7, "");
        s.integer(75, 16);
        s.real(147, 1);
        s.real(148, 0);
        s.real(149, 0);
        s.pair(100, "AcDbLayout");
        s.pair(1, name);
        s.integer(70, 1);
        s.integer(71, order);
        s.real(10, 0);
        s.real(20, 0);
        s.real(11, sheet_.width);
        s.real(21, sheet_.height);
        s.point(12, {0, 0});
        s.point(14, {0, 0});
        s.point(15, {0, 0});
        s.real(146, 0);
        s.point(13, {0, 0});
        s.real(16, 1);
        s.real(26, 0);
        s.real(36, 0);
        s.real(17, 0);
        s.real(27, 1);
        s.real(37, 0);
        s.integer(76, 0);
        s.handle(330, record);
    }

    void objects(DxfStream& s) {
        s.pair(0, "SECTION");
        s.pair(2, "OBJECTS");
        const unsigned root = next(), groups = next(), layouts = next();
        dictionary(s, root, 0, {{"ACAD_GROUP", groups}, {"ACAD_LAYOUT", layouts}});
        dictionary(s, groups, root, {});
        dictionary(s, layouts, root, {{"Layout1", paperLayout_}, {"Model", modelLayout_}});
        layout(s, modelLayout_, layouts, "Model", 0, modelRecord_);
        layout(s, paperLayout_, layouts, "Layout1", 1, paperRecord_);
        s.pair(0, "ENDSEC");
    }

    const Sheet& sheet_;
    unsigned handle_ = 0x20;
    std::map<double, std::string> styles_;
    std::map<double, unsigned> styleHandles_;
    std::vector<unsigned> dimensionRecords_;
    unsigned gbStyle_ = 0, modelRecord_ = 0, paperRecord_ = 0, modelLayout_ = 0, paperLayout_ = 0;
    GbkEncoder encoder_;
};

}  // namespace

std::string DxfText(const std::string& utf8) {
    GbkEncoder encoder;
    return EncodeText(utf8, encoder);
}

std::string DxfDocument(const Sheet& sheet) { return DxfWriter(sheet).document(); }

void SaveDxf(const Sheet& sheet, const std::string& path) { ReplaceFileAtomically(path, DxfDocument(sheet)); }

}  // namespace wormgear
