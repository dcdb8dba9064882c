#include "output/dxf_writer.h"

#include <charconv>
#include <cmath>

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
    void Number(int code, double value) {
        char buffer[32];
        // to_chars writes the shortest round-trip text, whatever the process's locale.
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        Code(code, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
    }
    void Coordinates(int code, Point point) {
        Number(code, point.X);
        Number(code + 10, point.Y);
        Number(code + 20, 0.0);
    }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
};

std::string Ascii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7e) {
            c = '?';
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
        w.Code(2, Ascii(type.Name));
        w.Code(70, 0);
        w.Code(3, Ascii(type.Description));
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
        w.Code(2, Ascii(l.Name));
        w.Code(70, 0);
        w.Code(62, l.Colour);
        w.Code(6, Ascii(l.Linetype));
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
        w.Code(8, Ascii(line.Layer));
        w.Coordinates(10, line.Start);
        w.Coordinates(11, line.End);
    }
    for (const DxfText& text : document.Texts) {
        w.Code(0, "TEXT");
        w.Code(8, Ascii(text.Layer));
        w.Coordinates(10, text.At);
        w.Number(40, text.Height);
        w.Code(1, Ascii(text.Text));
        if (text.Alignment != DxfTextAlignment::Left) {
            // An aligned text is placed by its second point; the first is kept equal to it.
            w.Code(72, text.Alignment == DxfTextAlignment::Centre ? 1 : 2);
            w.Coordinates(11, text.At);
        }
    }
    w.Code(0, "ENDSEC");
}

} // namespace

std::string WriteDxf(const DxfDocument& document) {
    GroupWriter w;
    for (const std::string& comment : document.Comments) {
        w.Code(999, Ascii(comment));
    }
    Header(w, document);
    Tables(w, document);
    Entities(w, document);
    w.Code(0, "EOF");
    return w.Take();
}

} // namespace dieprofile
