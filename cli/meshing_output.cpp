// The meshing analysis as wormcalc writes it.
#include "cli/meshing_output.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <ostream>

namespace wormgear {

namespace {

using namespace meshing;

constexpr double kDegrees = 180 / std::numbers::pi;

// The shortest text that reads back as the value; JSON has no NaN.
void Number(std::string& json, double value) {
    if (!std::isfinite(value)) {
        json += "null";
        return;
    }
    char buffer[32];
    json.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void Key(std::string& json, const char* key) {
    json += '"';
    json += key;
    json += "\":";
}

void Point(std::string& json, Vec3 p) {
    json += "{\"x\":";
    Number(json, p.x);
    json += ",\"y\":";
    Number(json, p.y);
    json += ",\"z\":";
    Number(json, p.z);
}

void Limit(std::string& json, const LimitLine& line) {
    json += "{\"in_tooth_zone\":";
    json += line.inToothZone ? "true" : "false";
    json += ",\"points\":[";
    for (std::size_t k = 0; k < line.points.size(); ++k) {
        if (k) json += ',';
        Point(json, line.points[k]);
        json += '}';
    }
    json += "]}";
}

std::string Fixed(double value, int decimals) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr;
    return std::string(buffer, end);
}

}  // namespace

void AppendMeshingJson(std::string& json, const MeshingAnalysis& a) {
    json += "{\"worm_speed_rpm\":";
    Number(json, a.wormSpeed);
    json +=
        ",\"flank\":\"upper\",\"frame\":\"fixed: wheel axis z through the origin, worm axis through (A, 0, 0) "
        "along y, mid-plane z = 0; mm\",";
    Key(json, "teeth_in_contact");
    json += "{\"min\":" + std::to_string(a.teethInContact.min) + ",\"max\":" + std::to_string(a.teethInContact.max) +
            "},";
    Key(json, "pitch_point");
    Point(json, a.pitch.position);
    json += ",\"sliding_speed_m_s\":";
    Number(json, a.pitch.slidingSpeed);
    json += ",\"lubrication_angle_deg\":";
    Number(json, a.pitch.lubricationAngle);
    json += ",\"off_line_mm\":";
    Number(json, a.pitch.offLine);
    json += "},";
    Key(json, "contact_lines");
    json += '[';
    for (std::size_t k = 0; k < a.contactLines.size(); ++k) {
        const ContactCurve& c = a.contactLines[k];
        if (k) json += ',';
        json += "{\"phi2_deg\":";
        Number(json, c.phi2 * kDegrees);
        json += ",\"tooth\":" + std::to_string(c.tooth);
        json += c.branch == Branch::First ? ",\"branch\":\"first\"" : ",\"branch\":\"second\"";
        json += ",\"points\":[";
        for (std::size_t m = 0; m < c.points.size(); ++m) {
            const ContactPoint& p = c.points[m];
            if (m) json += ',';
            Point(json, p.position);
            json += ",\"sliding_speed_m_s\":";
            Number(json, p.slidingSpeed);
            json += ",\"lubrication_angle_deg\":";
            Number(json, p.lubricationAngle);
            json += ",\"entrainment_speed_m_s\":";
            Number(json, p.entrainmentSpeed);
            json += ",\"induced_curvature_per_mm\":";
            Number(json, p.inducedCurvature);
            json += '}';
        }
        json += "]}";
    }
    json += "],";
    Key(json, "limit_lines");
    json += "{\"frame\":\"worm\",\"first\":";
    Limit(json, a.firstLimit);
    json += ",\"second\":";
    Limit(json, a.secondLimit);
    json += "},";
    Key(json, "modification");
    json += "{\"flank\":\"upper\",\"points\":[";
    for (std::size_t k = 0; k < a.modification.size(); ++k) {
        if (k) json += ',';
        json += "{\"y_mm\":";
        Number(json, a.modification[k].axialPosition);
        json += ",\"departure_um\":";
        Number(json, a.modification[k].departure);
        json += '}';
    }
    json += "]},";
    Key(json, "wheel_flank");
    json += "{\"frame\":\"wheel\",\"unsolved\":" + std::to_string(a.unsolved) + ",\"points\":[";
    for (std::size_t k = 0; k < a.wheelFlank.size(); ++k) {
        if (k) json += ',';
        Point(json, a.wheelFlank[k].position);
        json += '}';
    }
    json += "]}}\n";
}

void WriteMeshingText(std::ostream& out, const MeshingAnalysis& a, const Translate& translate) {
    const auto text = [&translate](const char* chinese) { return Translated(translate, "wormgear::Meshing", chinese); };
    out << FillNames(text(QT_TRANSLATE_NOOP("wormgear::Meshing", "啮合分析（上齿面，蜗杆转速 {rpm} r/min）")),
                     {{"rpm", Fixed(a.wormSpeed, 0)}})
        << '\n';
    out << FillNames(text(QT_TRANSLATE_NOOP("wormgear::Meshing", "同时接触齿数：{min}～{max}")),
                     {{"min", std::to_string(a.teethInContact.min)}, {"max", std::to_string(a.teethInContact.max)}})
        << '\n';
    out << FillNames(text(QT_TRANSLATE_NOOP("wormgear::Meshing",
                                            "节点：滑动速度 {v} m/s，润滑角 {lub}°，接触线距节点 {off} mm")),
                     {{"v", Fixed(a.pitch.slidingSpeed, 3)},
                      {"lub", Fixed(a.pitch.lubricationAngle, 1)},
                      {"off", Fixed(a.pitch.offLine, 2)}})
        << '\n';
    double minLubrication = 90, maxSliding = 0, maxCurvature = 0;
    for (const ContactCurve& c : a.contactLines) {
        for (const ContactPoint& p : c.points) {
            minLubrication = std::min(minLubrication, p.lubricationAngle);
            maxSliding = std::max(maxSliding, p.slidingSpeed);
            maxCurvature = std::max(maxCurvature, p.inducedCurvature);
        }
    }
    std::vector<double> angles;
    for (const ContactCurve& c : a.contactLines)
        if (std::find(angles.begin(), angles.end(), c.phi2) == angles.end()) angles.push_back(c.phi2);
    out << FillNames(text(QT_TRANSLATE_NOOP("wormgear::Meshing",
                                            "接触线（一个齿距内 {n} 个位置）：{count} 段；最小润滑角 {lub}°，"
                                            "最大滑动速度 {v} m/s，最大诱导法曲率 {k} 1/mm")),
                     {{"n", std::to_string(angles.size())},
                      {"count", std::to_string(a.contactLines.size())},
                      {"lub", Fixed(minLubrication, 1)},
                      {"v", Fixed(maxSliding, 3)},
                      {"k", Fixed(maxCurvature, 4)}})
        << '\n';
    const std::string entersZone = text(QT_TRANSLATE_NOOP("wormgear::Meshing", "进入齿面"));
    const std::string keepsOut = text(QT_TRANSLATE_NOOP("wormgear::Meshing", "在齿面以外"));
    out << FillNames(text(QT_TRANSLATE_NOOP("wormgear::Meshing", "第一界限线（蜗杆根切）：{where}")),
                     {{"where", a.firstLimit.inToothZone ? entersZone : keepsOut}})
        << '\n';
    out << FillNames(text(QT_TRANSLATE_NOOP("wormgear::Meshing", "第二界限线（蜗轮根切）：{where}")),
                     {{"where", a.secondLimit.inToothZone ? entersZone : keepsOut}})
        << '\n';
    if (!a.modification.empty()) {
        out << FillNames(text(QT_TRANSLATE_NOOP("wormgear::Meshing", "修形量（沿螺纹，上齿面）：{from} 至 {to} μm")),
                         {{"from", Fixed(a.modification.front().departure, 1)},
                          {"to", Fixed(a.modification.back().departure, 1)}})
            << '\n';
    }
    out << FillNames(text(QT_TRANSLATE_NOOP("wormgear::Meshing", "未能求解的点：{n}")),
                     {{"n", std::to_string(a.unsolved)}})
        << '\n';
}

}  // namespace wormgear
