// The drawing to the last bit: each coordinate is worked out here from the profile's inputs in the
// order the die's formulas are written, rounded to single precision where it is stored, and
// compared exactly. Wire diameters with five significant digits make every product round, so a
// product taken in another order, or a value recomputed where it should be read back from a
// segment, shows up as a different float.
#include "core/number_text.h"
#include "model_fixture.h"

#include <cmath>
#include <string>

namespace dieprofile::testing {
namespace {

struct Profile {
    const char* Name;
    int Unit; // 0 inches, 1 millimetres
    int Row;  // catalogue row; 26 is the custom blank
    const char* Diameter;
    const char* Height;
    const char* Outlet;
    const char* Incoming;
    const char* ReductionAngle;
    const char* Bearing;  // % of the outlet diameter
    const char* Entrance; // % of the height
    const char* Exit;     // % of the height
    const char* ExitAngle;
    const char* EntranceAngle;
    const char* OutletCaption; // Label2 with five places after the point
    const char* IncomingCaption;
};

constexpr Profile kProfiles[] = {
    {"millimetres on a catalogue blank", 1, 4, nullptr, nullptr, "0.31275", "0.52391", "12.5", "40",
     "35", "25", "60", "55", "0.31275", "0.52391"},
    {"inches on a custom blank", 0, 26, "0.2125", "0.1875", "0.012345", "0.021875", "17", "45",
     "30", "20", "50", "40", "0.01235", "0.02188"},
    {"millimetres on an SCS blank", 1, 21, nullptr, nullptr, "0.20417", "0.27183", "16", "35", "28",
     "22", "45", "65", "0.20417", "0.27183"},
    {"inches on the largest blank", 0, 14, nullptr, nullptr, "0.051234", "0.072911", "14", "60",
     "33", "18", "70", "48", "0.05123", "0.07291"},
    {"millimetres on a custom blank", 1, 26, "6.3500", "4.7625", "1.2345", "1.6789", "18.5", "45",
     "31", "21", "55", "60", "1.23450", "1.67890"},
};

void PrintTo(const Profile& profile, std::ostream* out) {
    *out << profile.Name;
}

float F(double value) {
    return static_cast<float>(value);
}

class ExactGeometryTest : public ModelTest, public ::testing::WithParamInterface<Profile> {};

TEST_P(ExactGeometryTest, EveryStoredCoordinateIsTheFormulaInItsOrder) {
    const Profile& p = GetParam();
    if (p.Unit == 1) {
        model.ChooseOption(1);
    }
    model.PickRow(p.Row);
    if (p.Diameter != nullptr) {
        Type(10, p.Diameter);
        Type(5, p.Height);
    }
    Type(0, p.Outlet);
    Type(1, p.Incoming);
    Type(2, p.ReductionAngle);
    Type(3, p.Bearing);
    Type(4, p.Entrance);
    Type(6, p.Exit);
    Type(7, p.ExitAngle);
    Type(8, p.EntranceAngle);
    model.Command1_Click();
    ASSERT_TRUE(toolkit.Messages.empty()) << toolkit.Messages.front();

    auto in = [&](int index) { return ParseNumber(model.Text1(index).Text).value(); };
    const double pi = 3.14159;
    const double H = in(5);
    const double D = in(10);
    const double outlet = in(0);
    const double incoming = in(1);
    const double S = (6240.0 - 1560.0) / D;
    const double C = 3900;
    const double B = 7320;
    const double Be = in(3) * outlet / 100;
    const double En = in(4) * H / 100;
    const double Ex = in(6) * H / 100;
    const double Re = H - En - Be - Ex;
    const double rO = S * outlet / 2;
    const double rI = incoming * S / 2;
    const double tX = std::tan(in(7) * pi / 2 / 180);
    const double tR = std::tan(pi * in(2) / 2 / 180);
    const double tE = std::tan(in(8) * pi / 2 / 180);
    // Lengths held in double precision show any change of order in their last bits: a
    // percentage is multiplied by its base first and divided by 100 last.
    const ProfileState& st = model.State();
    EXPECT_EQ(st.DrawScale, S);
    EXPECT_EQ(st.BearingLength, Be);
    EXPECT_EQ(st.EntranceLength, En);
    EXPECT_EQ(st.ExitLength, Ex);
    EXPECT_EQ(st.ReductionLength, Re);

    const DrawingScene& s = model.Scene();
    const float top = F(7320.0 - H * S);
    const float coneTopRight = F((rO + C) + (Re * S) * tR);
    const float coneTopLeft = F((C - rO) - (Re * S) * tR);
    const struct {
        const char* name;
        float actual;
        float expected;
    } rows[] = {
        {"top face", s.LineDieTopLeft.Y1, top},
        {"bottom face left inner end", s.LineDieBottomLeft.X2, F(C - rO)},
        {"bottom face right inner end", s.LineDieBottomRight.X1, F(rO + C)},
        {"end of bearing", s.LineDieBackLeft.Y1, F(B - Ex * S)},
        {"back relief left opening", s.LineDieBackLeft.X2, F(C - (tX * Ex + outlet / 2) * S)},
        {"back relief right opening", s.LineDieBackRight.X2, F((tX * Ex + outlet / 2) * S + C)},
        {"start of bearing", s.LineDieReductionRight.Y2, F(B - (Ex + Be) * S)},
        {"cone top right", s.LineDieReductionRight.X1, coneTopRight},
        {"cone top left", s.LineDieReductionLeft.X1, coneTopLeft},
        {"cone top y", s.LineDieReductionLeft.Y1, F(B - ((Ex + Be) + Re) * S)},
        {"bell mouth y", s.LineDieBellRight.Y1, F(B - (((Ex + Be) + Re) + En) * S)},
        // The bell starts from the cone's top as stored, not as computed.
        {"bell mouth right", s.LineDieBellRight.X1,
         F((S * En) * tE + static_cast<double>(coneTopRight))},
        {"bell mouth left", s.LineDieBellLeft.X1,
         F(static_cast<double>(coneTopLeft) - (S * En) * tE)},
        {"top face left inner end", s.LineDieTopLeft.X2, F(C - rI)},
        {"top face right inner end", s.LineDieTopRight.X1, F(rI + C)},
        {"exiting wire right edge", s.LineExitWireRight.X1, F(rO + C)},
        {"entering wire right edge", s.LineEnterWireRight.X1, F(rI + C)},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.actual, row.expected) << row.name;
    }

    // The entering wire rests on the cone: the crossing of x = w with the cone as stored.
    const Segment& cone = s.LineDieReductionRight;
    const double w = s.LineEnterWireRight.X1;
    ASSERT_TRUE(w >= cone.X2 && w <= cone.X1);
    const float rest = F((w - cone.X1) * (static_cast<double>(cone.Y2) - cone.Y1) /
                             (static_cast<double>(cone.X2) - cone.X1) +
                         cone.Y1);
    EXPECT_EQ(s.LineEnterWireRight.Y1, rest);
    EXPECT_EQ(s.LineEnterWireLeft.Y1, rest);

    // Value labels: the wire diameters keep five places, the lengths four; the lengths are
    // differences of stored coordinates divided by the scale.
    EXPECT_EQ(s.Label2.Caption, p.OutletCaption);
    EXPECT_EQ(s.Label3.Caption, p.IncomingCaption);
    const Segment& bell = s.LineDieBellRight;
    EXPECT_EQ(s.Label4.Caption,
              FormatNumber((static_cast<double>(bell.Y2) - bell.Y1) / S, "0.###0"));
    EXPECT_EQ(s.Label5.Caption, FormatNumber((static_cast<double>(rest) - bell.Y2) / S, "0.###0"));
    EXPECT_EQ(s.Label6.Caption, FormatNumber((static_cast<double>(cone.Y2) - rest) / S, "0.###0"));
}

INSTANTIATE_TEST_SUITE_P(FiveSignificantDigits, ExactGeometryTest, ::testing::ValuesIn(kProfiles),
                         [](const auto& info) {
                             std::string name = info.param.Name;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

} // namespace
} // namespace dieprofile::testing
