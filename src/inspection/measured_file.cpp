#include "inspection/measured_file.h"

#include "core/file_name.h"
#include "core/message_text.h"
#include "core/number_text.h"
#include "core/units.h"
#include "core/utf8.h"
#include "output/atomic_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <system_error>

namespace dieprofile {

namespace {

// The lines of a text, numbered from 1, without their line ends.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (position_ >= text_.size()) {
            return false;
        }
        std::size_t end = text_.find('\n', position_);
        if (end == std::string_view::npos) {
            end = text_.size();
        }
        line = text_.substr(position_, end - position_);
        position_ = end + 1;
        ++number_;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return true;
    }
    std::size_t Number() const { return number_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
    std::size_t number_ = 0;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Where(std::string_view kind, std::size_t number) {
    return std::string(kind) + " " + std::to_string(number) + ": ";
}

// A number of the file, or why it is not one: "row 12: "0,15x" is not a number".
// The place ("row", 12) is worded only for a refusal: a million rows read need none of it.
Expected<double> ReadNumber(std::string_view field, bool decimalComma, std::string_view kind,
                            std::size_t number) {
    std::string withPoint;
    std::string_view text = Trim(field);
    if (decimalComma && text.find(',') != std::string_view::npos) {
        withPoint = text;
        std::replace(withPoint.begin(), withPoint.end(), ',', '.');
        text = withPoint;
    }
    if (const std::optional<double> read = ParseNumber(text)) {
        return *read;
    }
    // Written as a number but beyond a double, or as infinity or not-a-number.
    double any = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), any);
    const bool numeric = !text.empty() && result.ptr == text.data() + text.size() &&
                         (result.ec == std::errc{} || result.ec == std::errc::result_out_of_range);
    return Refusal{Where(kind, number) + QuotedForMessage(Trim(field)) +
                   (numeric ? " is not a finite number" : " is not a number")};
}

MeasuredRead Counted(MeasuredPoints points) {
    if (points.Points.size() < kMinMeasuredPoints) {
        return Refusal{"it holds " + std::to_string(points.Points.size()) + " points; at least " +
                       std::to_string(kMinMeasuredPoints) + " are needed"};
    }
    return points;
}

std::string TooManyPoints() {
    return "it holds more than " + std::to_string(kMaxMeasuredPoints) + " points";
}

// ---- point lists ----

enum class Separator { Comma, Semicolon, Tab, Blanks };

void SplitFields(std::string_view line, Separator separator,
                 std::vector<std::string_view>& fields) {
    fields.clear();
    if (separator == Separator::Blanks) {
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && IsBlank(line[i])) {
                ++i;
            }
            const std::size_t start = i;
            while (i < line.size() && !IsBlank(line[i])) {
                ++i;
            }
            if (i > start) {
                fields.push_back(line.substr(start, i - start));
            }
        }
        return;
    }
    const char mark = separator == Separator::Comma       ? ','
                      : separator == Separator::Semicolon ? ';'
                                                          : '\t';
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(mark, start);
        fields.push_back(Trim(line.substr(start, end - start)));
        if (end == std::string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

// A header's column: "x", "X_mm", "\"y_in\"" name a coordinate and perhaps its unit.
struct CoordinateColumn {
    int Index = -1;
    std::string Name;
    std::optional<double> Unit;
};

bool NameColumn(std::string_view field, int index, CoordinateColumn& x, CoordinateColumn& y,
                std::string& problem) {
    std::string name(Trim(field));
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        name = name.substr(1, name.size() - 2);
    }
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name.empty() || (name[0] != 'x' && name[0] != 'y')) {
        return false;
    }
    const std::string_view rest = std::string_view(name).substr(1);
    std::optional<double> unit;
    if (rest == "_mm") {
        unit = kMillimetreUnitDivisor;
    } else if (rest == "_in") {
        unit = kInchUnitDivisor;
    } else if (!rest.empty()) {
        return false;
    }
    CoordinateColumn& column = name[0] == 'x' ? x : y;
    if (column.Index >= 0) {
        problem = std::string("two columns name ") + name[0];
        return false;
    }
    column = {index, std::string(Trim(field)), unit};
    return true;
}

} // namespace

MeasuredRead ReadPointList(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3); // a spreadsheet's byte order mark
    }
    Lines lines(text);
    std::string_view line;
    if (!IsUtf8(text)) {
        while (lines.Next(line)) {
            if (!IsUtf8(line)) {
                return Refusal{Where("row", lines.Number()) + "it is not UTF-8 text"};
            }
        }
        return Refusal{"it is not UTF-8 text"}; // a sequence cut by a line end
    }
    std::vector<std::string_view> fields;
    Separator separator = Separator::Blanks;
    CoordinateColumn x;
    CoordinateColumn y;
    bool header = false;
    MeasuredPoints read;
    read.Points.reserve(std::min(text.size() / 8, kMaxMeasuredPoints));
    while (lines.Next(line)) {
        const std::string_view content = Trim(line);
        if (content.empty() || content.front() == '#') {
            continue;
        }
        const auto where = [&lines] { return Where("row", lines.Number()); };
        if (!header) {
            header = true;
            separator = content.find(';') != std::string_view::npos    ? Separator::Semicolon
                        : content.find('\t') != std::string_view::npos ? Separator::Tab
                        : content.find(',') != std::string_view::npos  ? Separator::Comma
                                                                       : Separator::Blanks;
            SplitFields(content, separator, fields);
            std::string problem;
            bool numbers = true;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                NameColumn(fields[i], static_cast<int>(i), x, y, problem);
                numbers = numbers && ParseNumber(fields[i]).has_value();
                if (!problem.empty()) {
                    return Refusal{where() + problem};
                }
            }
            if (x.Index < 0 || y.Index < 0) {
                return Refusal{where() + (numbers ? "there is no header naming the columns x and y"
                                                  : "the header names no columns x and y")};
            }
            if (x.Unit != y.Unit) {
                return Refusal{where() + "mixed units: " + QuotedForMessage(x.Name) + " and " +
                               QuotedForMessage(y.Name)};
            }
            read.UnitDivisor = x.Unit;
            continue;
        }
        if (read.Points.size() == kMaxMeasuredPoints) {
            return Refusal{TooManyPoints()};
        }
        SplitFields(content, separator, fields);
        const auto needed = static_cast<std::size_t>(std::max(x.Index, y.Index)) + 1;
        if (fields.size() < needed) {
            return Refusal{where() + "it has " + std::to_string(fields.size()) + " columns, not " +
                           std::to_string(needed)};
        }
        const bool decimalComma = separator == Separator::Semicolon || separator == Separator::Tab;
        const Expected<double> px = ReadNumber(fields[static_cast<std::size_t>(x.Index)],
                                               decimalComma, "row", lines.Number());
        if (!px) {
            return px.Error();
        }
        const Expected<double> py = ReadNumber(fields[static_cast<std::size_t>(y.Index)],
                                               decimalComma, "row", lines.Number());
        if (!py) {
            return py.Error();
        }
        read.Points.push_back({*px, *py});
    }
    if (!header) {
        return Refusal{"there is no header naming the columns x and y"};
    }
    return Counted(std::move(read));
}

namespace {

// ---- DXF ----

// A sagitta of 0.1 % of the radius: the angle each flattened piece of an arc spans.
const double kArcStep = 2 * std::acos(1 - 0.001);
// Straight runs are sampled so that the whole drawing holds about this many points besides its
// vertices: a wall traced as a few long lines still gives each zone points to fit.
constexpr double kDxfSamples = 4000;

struct Chain {
    std::vector<Point> Vertices;
};

// The points of an arc from start, turning by sweep (radians, positive anticlockwise).
void AddArc(Chain& chain, Point centre, double radius, double start, double sweep) {
    const auto pieces =
        static_cast<int>(std::clamp(std::ceil(std::abs(sweep) / kArcStep), 1.0, 1000.0));
    for (int i = 0; i <= pieces; ++i) {
        const double angle = start + sweep * i / pieces;
        chain.Vertices.push_back(
            {centre.X + radius * std::cos(angle), centre.Y + radius * std::sin(angle)});
    }
}

// From p to q along a polyline's bulge (the tangent of a quarter of the arc's angle).
void AddBulge(Chain& chain, Point p, Point q, double bulge) {
    const Point d = q - p;
    const double chord = std::hypot(d.X, d.Y);
    if (bulge == 0 || !(chord > 0)) {
        chain.Vertices.push_back(q);
        return;
    }
    const double angle = 4 * std::atan(bulge);
    const double radius = chord / (2 * std::sin(std::abs(angle) / 2));
    const double offset = chord / 2 / std::tan(angle / 2);
    const Point centre{(p.X + q.X) / 2 - offset * d.Y / chord,
                       (p.Y + q.Y) / 2 + offset * d.X / chord};
    AddArc(chain, centre, radius, std::atan2(p.Y - centre.Y, p.X - centre.X), angle);
}

struct Vertex {
    Point At;
    double Bulge = 0;
    int Flags = 0;
};

// One entity as its groups gave it.
struct Entity {
    std::string Type;
    std::string Layer;
    std::vector<Vertex> Vertices; // LWPOLYLINE's, or a POLYLINE's VERTEX entities
    Point P10, P11;
    double Radius = 0, StartAngle = 0, EndAngle = 0;
    int Flags = 0;
};

bool SameLayer(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char l, char r) {
        return std::tolower(static_cast<unsigned char>(l)) ==
               std::tolower(static_cast<unsigned char>(r));
    });
}

class DxfReader {
public:
    DxfReader(std::string_view text, std::string_view layer) : lines_(text), layer_(layer) {}

    MeasuredRead Read() {
        std::string section;
        bool sectionName = false;
        bool unitsNext = false;
        Entity entity;
        Entity polyline; // an open POLYLINE gathering its VERTEXes
        bool inPolyline = false;
        int code = 0;
        std::string_view value;
        while (Next(code, value)) {
            if (!problem_.empty()) {
                break;
            }
            if (code == 0) {
                if (section == "ENTITIES") {
                    Finish(entity, polyline, inPolyline);
                }
                entity = Entity{std::string(value), {}, {}, {}, {}, 0, 0, 0, 0};
                if (value == "SECTION") {
                    sectionName = true;
                } else if (value == "ENDSEC") {
                    section.clear();
                } else if (value == "EOF") {
                    break;
                }
                continue;
            }
            if (sectionName && code == 2) {
                section = value;
                sectionName = false;
                continue;
            }
            if (section == "HEADER") {
                if (code == 9) {
                    unitsNext = value == "$INSUNITS";
                } else if (code == 70 && unitsNext) {
                    const std::string_view units = Trim(value);
                    units_ = units == "1"   ? std::optional(kInchUnitDivisor)
                             : units == "4" ? std::optional(kMillimetreUnitDivisor)
                                            : std::nullopt;
                    unitsNext = false;
                }
            } else if (section == "ENTITIES") {
                Group(entity, code, value);
            }
        }
        if (!problem_.empty()) {
            return Refusal{problem_};
        }
        if (!sawEntitiesSection_) {
            return Refusal{"it has no ENTITIES section"};
        }
        if (chains_.empty()) {
            return Refusal{
                "it holds no LINE, POLYLINE, LWPOLYLINE or ARC in its ENTITIES" +
                (layer_.empty() ? std::string() : " on the layer " + QuotedForMessage(layer_))};
        }
        return Sampled();
    }

private:
    bool Next(int& code, std::string_view& value) {
        std::string_view codeLine;
        if (!lines_.Next(codeLine)) {
            return false;
        }
        const std::string_view digits = Trim(codeLine);
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), code);
        if (digits.empty() || result.ec != std::errc{} ||
            result.ptr != digits.data() + digits.size()) {
            problem_ = Where("line", lines_.Number()) + QuotedForMessage(codeLine) +
                       " is not a group code";
            return true;
        }
        if (!lines_.Next(value)) {
            problem_ = "it ends in the middle of a group";
            return true;
        }
        if (code == 2 && value == "ENTITIES") {
            sawEntitiesSection_ = true;
        }
        return true;
    }

    double Number(std::string_view value) {
        const Expected<double> read = ReadNumber(value, false, "line", lines_.Number());
        if (!read) {
            problem_ = read.Error().Message;
            return 0;
        }
        return *read;
    }

    int Whole(std::string_view value) {
        const double read = Number(value);
        return std::abs(read) < 1e9 ? static_cast<int>(read) : 0;
    }

    void Group(Entity& entity, int code, std::string_view value) {
        const bool vertexList = entity.Type == "LWPOLYLINE";
        switch (code) {
        case 8:
            entity.Layer = Trim(value);
            break;
        case 10:
            if (vertexList || entity.Type == "VERTEX") {
                entity.Vertices.push_back({{Number(value), 0}, 0, 0});
            } else {
                entity.P10.X = Number(value);
            }
            break;
        case 20:
            (entity.Vertices.empty() ? entity.P10 : entity.Vertices.back().At).Y = Number(value);
            break;
        case 11:
            entity.P11.X = Number(value);
            break;
        case 21:
            entity.P11.Y = Number(value);
            break;
        case 40:
            entity.Radius = Number(value);
            break;
        case 42:
            if (!entity.Vertices.empty()) {
                entity.Vertices.back().Bulge = Number(value);
            }
            break;
        case 50:
            entity.StartAngle = Number(value);
            break;
        case 51:
            entity.EndAngle = Number(value);
            break;
        case 70:
            entity.Flags = Whole(value);
            break;
        default:
            break;
        }
    }

    bool Wanted(const Entity& entity) const {
        return layer_.empty() || SameLayer(entity.Layer, layer_);
    }

    void AddVertices(const std::vector<Vertex>& vertices, bool closed) {
        if (vertices.empty()) {
            return;
        }
        Chain chain;
        chain.Vertices.push_back(vertices.front().At);
        for (std::size_t i = 0; i + 1 < vertices.size() + (closed ? 1 : 0); ++i) {
            AddBulge(chain, vertices[i].At, vertices[(i + 1) % vertices.size()].At,
                     vertices[i].Bulge);
        }
        Keep(std::move(chain));
    }

    void Finish(const Entity& entity, Entity& polyline, bool& inPolyline) {
        const std::string& type = entity.Type;
        if (inPolyline && type == "VERTEX") {
            // A spline's frame points are not on the curve.
            if (!entity.Vertices.empty() && (entity.Flags & 16) == 0) {
                polyline.Vertices.push_back(
                    {entity.Vertices.front().At, entity.Vertices.front().Bulge, entity.Flags});
            }
            return;
        }
        if (inPolyline) {
            inPolyline = false;
            if (Wanted(polyline)) {
                AddVertices(polyline.Vertices, (polyline.Flags & 1) != 0);
            }
        }
        if (type == "POLYLINE") {
            polyline = entity;
            polyline.Vertices.clear();
            inPolyline = true;
        } else if (!Wanted(entity)) {
            return;
        } else if (type == "LINE") {
            Keep(Chain{{entity.P10, entity.P11}});
        } else if (type == "LWPOLYLINE") {
            AddVertices(entity.Vertices, (entity.Flags & 1) != 0);
        } else if (type == "ARC") {
            constexpr double kRadians = std::numbers::pi / 180;
            double sweep = std::fmod(entity.EndAngle - entity.StartAngle, 360.0);
            if (!(sweep > 0)) {
                sweep = std::isfinite(sweep) ? sweep + 360 : 360; // angles too far apart to tell
            }
            Chain chain;
            AddArc(chain, entity.P10, entity.Radius, entity.StartAngle * kRadians,
                   sweep * kRadians);
            Keep(std::move(chain));
        }
    }

    void Keep(Chain chain) {
        for (const Point& point : chain.Vertices) {
            if (!std::isfinite(point.X) || !std::isfinite(point.Y)) {
                problem_ = Where("line", lines_.Number()) + "a point is not a finite number";
                return;
            }
        }
        vertexCount_ += chain.Vertices.size();
        if (vertexCount_ > kMaxMeasuredPoints) {
            problem_ = TooManyPoints();
            return;
        }
        chains_.push_back(std::move(chain));
    }

    // Every vertex, and points between them no farther apart than the drawing's length over
    // kDxfSamples.
    MeasuredRead Sampled() {
        double length = 0;
        for (const Chain& chain : chains_) {
            for (std::size_t i = 0; i + 1 < chain.Vertices.size(); ++i) {
                const Point d = chain.Vertices[i + 1] - chain.Vertices[i];
                length += std::hypot(d.X, d.Y);
            }
        }
        if (!std::isfinite(length)) {
            return Refusal{"its drawing is too large to measure"};
        }
        const double step = length / kDxfSamples;
        MeasuredPoints read;
        read.UnitDivisor = units_;
        for (const Chain& chain : chains_) {
            for (std::size_t i = 0; i + 1 < chain.Vertices.size(); ++i) {
                const Point a = chain.Vertices[i];
                const Point d = chain.Vertices[i + 1] - a;
                const double pieces = step > 0 ? std::ceil(std::hypot(d.X, d.Y) / step) : 1;
                const int n = static_cast<int>(std::clamp(pieces, 1.0, kDxfSamples));
                for (int k = 0; k < n; ++k) {
                    read.Points.push_back({a.X + d.X * k / n, a.Y + d.Y * k / n});
                }
            }
            read.Points.push_back(chain.Vertices.back());
            if (read.Points.size() > kMaxMeasuredPoints) {
                return Refusal{TooManyPoints()};
            }
        }
        return Counted(std::move(read));
    }

    Lines lines_;
    std::string layer_;
    std::optional<double> units_;
    std::vector<Chain> chains_;
    std::size_t vertexCount_ = 0;
    bool sawEntitiesSection_ = false;
    std::string problem_;
};

} // namespace

MeasuredRead ReadDxfPoints(std::string_view text, std::string_view layer) {
    if (text.starts_with("AutoCAD Binary DXF")) {
        return Refusal{"it is a binary DXF; save it as an ASCII DXF"};
    }
    return DxfReader(text, layer).Read();
}

MeasuredRead ReadMeasuredFile(const std::string& path, std::string_view layer) {
    Expected<std::string> read = ReadBoundedFile(path, kMaxMeasuredBytes);
    if (!read) {
        return std::move(read).Error();
    }
    const std::string bytes = std::move(*read);
    if (bytes.size() > kMaxMeasuredBytes) {
        return Refusal{"it is larger than 64 MiB"};
    }
    if (ExtensionOf(path) == "dxf") {
        return ReadDxfPoints(bytes, layer);
    }
    if (!layer.empty()) {
        return Refusal{"a layer is chosen in a DXF, and this is a point list"};
    }
    return ReadPointList(bytes);
}

} // namespace dieprofile
