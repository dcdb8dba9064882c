// Makes an export for the readers in check_exports.py: the default profile on the custom blank
// (or another incoming wire or unit), then ExportDrawing. For a DXF it also writes, beside it,
// the bore wall's points read straight off the drawing's segments, for the reader to compare.
//   dieprofile-export-drawing OUTPUT [--incoming D] [--millimetres] [--no-calculate]
//                             [--name DESIGN] [--dxf-profile section|half]
//                             [--dxf-axis vertical|horizontal]
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "qt/export_painters.h"
#include "qt/printing.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

namespace {

using namespace dieprofile;

// The right-hand wall from the bell's mouth to the exit opening, in the drawing's unit, y up from
// the bottom face: each segment end minus the axis or the base line, over the drawing scale.
QByteArray ExpectedWall(const Form1Model& model) {
    const DrawingScene& s = model.Scene();
    const double axis = model.State().CentreX;
    const double base = model.State().DieBaseY;
    const double scale = model.State().DrawScale;
    const float ends[5][2] = {{s.LineDieBellRight.X1, s.LineDieBellRight.Y1},
                              {s.LineDieReductionRight.X1, s.LineDieReductionRight.Y1},
                              {s.LineDieReductionRight.X2, s.LineDieReductionRight.Y2},
                              {s.LineDieBackRight.X1, s.LineDieBackRight.Y1},
                              {s.LineDieBackRight.X2, s.LineDieBackRight.Y2}};
    QByteArray json = "{\"height\": " + QByteArray::number(model.State().DiamondHeight, 'g', 17) +
                      ", \"wall\": [";
    for (int i = 0; i < 5; ++i) {
        json += (i ? ", [" : "[") + QByteArray::number((ends[i][0] - axis) / scale, 'g', 17) +
                ", " + QByteArray::number((base - ends[i][1]) / scale, 'g', 17) + "]";
    }
    return json + "]}\n";
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    SetPrintingModule(QStringLiteral(DIEPROFILE_PRINTING_MODULE_PATH));
    QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs("usage: dieprofile-export-drawing OUTPUT [--incoming D] [--millimetres] "
                   "[--no-calculate]\n",
                   stderr);
        return 2;
    }
    const QString output = args.takeFirst();
    HeadlessToolkit toolkit;
    Form1Model model(toolkit);
    toolkit.Attach(model);
    model.Form_Load();
    model.Show();
    model.PickRow(26);
    model.ReplaceText(ControlId::Text1_10, "0.180");
    model.ReplaceText(ControlId::Text1_5, "0.180");
    bool calculate = true;
    QString name = QStringLiteral("Sample die.dieprofile");
    DxfExportOptions dxf;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == u"--incoming" && i + 1 < args.size()) {
            model.ReplaceText(ControlId::Text1_1, args[++i].toStdString());
        } else if (args[i] == u"--millimetres") {
            model.ChooseOption(1);
            model.ReplaceText(ControlId::Text1_10, "4.572");
            model.ReplaceText(ControlId::Text1_5, "4.572");
        } else if (args[i] == u"--no-calculate") {
            calculate = false;
        } else if (args[i] == u"--name" && i + 1 < args.size()) {
            name = args[++i];
        } else if (args[i] == u"--dxf-profile" && i + 1 < args.size()) {
            dxf.Profile = DxfProfileNamed(args[++i].toStdString()).value_or(DxfProfile::Section);
        } else if (args[i] == u"--dxf-axis" && i + 1 < args.size()) {
            dxf.Axis = DxfAxisNamed(args[++i].toStdString()).value_or(DxfAxis::Vertical);
        }
    }
    if (calculate) {
        model.Command1_Click();
    }
    if (const Expected<void, ExportRefusal> exported =
            ExportDrawingFile(model, name, output, {}, dxf);
        !exported) {
        std::fprintf(stderr, "%s\n", exported.Error().Message.c_str());
        return 1;
    }
    if (output.endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive)) {
        QFile expected(output + QStringLiteral(".wall.json"));
        if (!expected.open(QIODevice::WriteOnly) || expected.write(ExpectedWall(model)) < 0) {
            return 1;
        }
    }
    return 0;
}
