#include "output/dxf_writer.h"

#include "core/number_text.h"
#include "core/utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <optional>

namespace dieprofile {

namespace {

class GroupWriter {
public:
    void Code(int code, std::string_view value) {
        out_ += std::to_string(code);
        out_ += '\n';
        out_ += value;
        out_ += '\n';
    }
    void Code(int code, int value) { Code(code, std::to_string(value)); }
    void Number(int code, double value) { Code(code, ShortestText(value)); }
    void Coordinates(int code, Point point) {
        Number(code, point.X);
        Number(code + 10, point.Y);
        Number(code + 20, 0.0);
    }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
};

// The characters Windows code page 1252 puts at bytes 0x80 to 0x9F, where Latin-1 has controls;
// 0 where the page has none.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The next character of UTF-8 text from at, which moves past it; nothing for a byte that does
// not start a well-formed character (at then moves past that byte alone).
std::optional<char32_t> NextCharacter(std::string_view text, std::size_t& at) {
    const Utf8Character c = DecodeUtf8(text.substr(at));
    at += c.Length != 0 ? c.Length : 1;
    return c.Length != 0 ? std::optional<char32_t>(c.Code) : std::nullopt;
}

// UTF-8 text as code page 1252 with \U+XXXX for the rest (see WriteDxf).
std::string CodePage1252(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<char32_t> c = NextCharacter(text, at);
        if (!c || *c < 0x20 || (*c >= 0x7F && *c < 0xA0) || *c > 0xFFFF) {
            result += '?';
        } else if (*c < 0x7F || (*c >= 0xA0 && *c <= 0xFF)) {
            result += static_cast<char>(*c);
        } else if (const auto* high = std::find(std::begin(kCp1252High), std::end(kCp1252High),
                                                static_cast<char16_t>(*c));
                   high != std::end(kCp1252High)) {
            result += static_cast<char>(0x80 + (high - std::begin(kCp1252High)));
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(*c));
            result += "\\U+";
            result += hex;
        }
    }
    return result;
}

void Header(GroupWriter& w, const DxfDocument& document) {
    // The extent of what is drawn; a point at infinity (a wire beyond float's range) is left out,
    // and an empty drawing's extent is the origin.
    Bounds extent;
    const auto extend = [&](Point p) {
        if (std::isfinite(p.X) && std::isfinite(p.Y)) {
            extent.Add(p);
        }
    };
    for (const DxfLine& line : document.Lines) {
        extend(line.Start);
        extend(line.End);
    }
    for (const DxfPolyline& polyline : document.Polylines) {
        for (const Point& vertex : polyline.Vertices) {
            extend(vertex);
        }
    }
    for (const DxfSolid& solid : document.Solids) {
        for (const Point& corner : solid.Corners) {
            extend(corner);
        }
    }
    for (const DxfText& text : document.Texts) {
        extend(text.At);
    }
    if (extent.Empty()) {
        extent.Add({0, 0});
    }
    const bool inches = document.Unit == DxfUnit::Inches;
    w.Code(0, "SECTION");
    w.Code(2, "HEADER");
    w.Code(9, "$ACADVER");
    w.Code(1, "AC1009");
    // The code page the texts are written in; \U+XXXX carries the characters it lacks.
    w.Code(9, "$DWGCODEPAGE");
    w.Code(3, "ANSI_1252");
    w.Code(9, "$INSBASE");
    w.Coordinates(10, {0, 0});
    w.Code(9, "$EXTMIN");
    w.Coordinates(10, {extent.MinX, extent.MinY});
    w.Code(9, "$EXTMAX");
    w.Coordinates(10, {extent.MaxX, extent.MaxY});
    // Release 12 has no unit of its own; these two later variables say it to the readers that
    // know them, and the others skip them.
    w.Code(9, "$INSUNITS");
    w.Code(70, inches ? 1 : 4);
    w.Code(9, "$MEASUREMENT");
    w.Code(70, inches ? 0 : 1);
    w.Code(0, "ENDSEC");
}

void Tables(GroupWriter& w, const DxfDocument& document) {
    w.Code(0, "SECTION");
    w.Code(2, "TABLES");

    w.Code(0, "TABLE");
    w.Code(2, "LTYPE");
    w.Code(70, static_cast<int>(document.Linetypes.size()) + 1);
    auto linetype = [&w](const DxfLinetype& type) {
        w.Code(0, "LTYPE");
        w.Code(2, CodePage1252(type.Name));
        w.Code(70, 0);
        w.Code(3, CodePage1252(type.Description));
        w.Code(72, 65); // 'A': the alignment of every linetype
        w.Code(73, static_cast<int>(type.Pattern.size()));
        double total = 0;
        for (const double dash : type.Pattern) {
            total += std::fabs(dash);
        }
        w.Number(40, total);
        for (const double dash : type.Pattern) {
            w.Number(49, dash);
        }
    };
    linetype({"CONTINUOUS", "Solid line", {}});
    for (const DxfLinetype& type : document.Linetypes) {
        linetype(type);
    }
    w.Code(0, "ENDTAB");

    w.Code(0, "TABLE");
    w.Code(2, "LAYER");
    w.Code(70, static_cast<int>(document.Layers.size()) + 1);
    auto layer = [&w](const DxfLayer& l) {
        w.Code(0, "LAYER");
        w.Code(2, CodePage1252(l.Name));
        w.Code(70, 0);
        w.Code(62, l.Colour);
        w.Code(6, CodePage1252(l.Linetype));
    };
    layer({"0", 7, "CONTINUOUS"});
    for (const DxfLayer& l : document.Layers) {
        layer(l);
    }
    w.Code(0, "ENDTAB");
    w.Code(0, "ENDSEC");
}

void Entities(GroupWriter& w, const DxfDocument& document) {
    w.Code(0, "SECTION");
    w.Code(2, "ENTITIES");
    for (const DxfLine& line : document.Lines) {
        w.Code(0, "LINE");
        w.Code(8, CodePage1252(line.Layer));
        w.Coordinates(10, line.Start);
        w.Coordinates(11, line.End);
    }
    for (const DxfPolyline& polyline : document.Polylines) {
        w.Code(0, "POLYLINE");
        w.Code(8, CodePage1252(polyline.Layer));
        w.Code(66, 1); // vertices follow
        w.Coordinates(10, {0, 0});
        w.Code(70, polyline.Closed ? 1 : 0);
        for (const Point& vertex : polyline.Vertices) {
            w.Code(0, "VERTEX");
            w.Code(8, CodePage1252(polyline.Layer));
            w.Coordinates(10, vertex);
        }
        w.Code(0, "SEQEND");
        w.Code(8, CodePage1252(polyline.Layer));
    }
    for (const DxfSolid& solid : document.Solids) {
        w.Code(0, "SOLID");
        w.Code(8, CodePage1252(solid.Layer));
        // A SOLID's third and fourth corners are crossed: round the outline they come 1, 2, 4, 3.
        w.Coordinates(10, solid.Corners[0]);
        w.Coordinates(11, solid.Corners[1]);
        w.Coordinates(12, solid.Corners[3]);
        w.Coordinates(13, solid.Corners[2]);
    }
    for (const DxfText& text : document.Texts) {
        w.Code(0, "TEXT");
        w.Code(8, CodePage1252(text.Layer));
        w.Coordinates(10, text.At);
        w.Number(40, text.Height);
        w.Code(1, CodePage1252(text.Text));
        if (text.RotationDeg != 0) {
            w.Number(50, text.RotationDeg);
        }
        if (text.Alignment != DxfTextAlignment::Left) {
            // An aligned text is placed by its second point; the first is kept equal to it.
            w.Code(72, text.Alignment == DxfTextAlignment::Centre ? 1 : 2);
            w.Coordinates(11, text.At);
        }
    }
    w.Code(0, "ENDSEC");
}

} // namespace

bool AllFinite(const DxfDocument& document) {
    const auto finite = [](Point p) { return std::isfinite(p.X) && std::isfinite(p.Y); };
    return std::ranges::all_of(
               document.Lines,
               [&](const DxfLine& l) { return finite(l.Start) && finite(l.End); }) &&
           std::ranges::all_of(
               document.Polylines,
               [&](const DxfPolyline& p) { return std::ranges::all_of(p.Vertices, finite); }) &&
           std::ranges::all_of(
               document.Solids,
               [&](const DxfSolid& s) { return std::ranges::all_of(s.Corners, finite); }) &&
           std::ranges::all_of(document.Texts, [&](const DxfText& t) {
               return finite(t.At) && std::isfinite(t.Height) && std::isfinite(t.RotationDeg);
           });
}

std::string WriteDxf(const DxfDocument& document) {
    GroupWriter w;
    for (const std::string& comment : document.Comments) {
        w.Code(999, CodePage1252(comment));
    }
    Header(w, document);
    Tables(w, document);
    Entities(w, document);
    w.Code(0, "EOF");
    return w.Take();
}

} // namespace dieprofile
