#include "support/worn_bore.h"

#include "core/number_text.h"

#include <cmath>

namespace dieprofile::test {

std::string WornBoreCsv(const BoreWall& wall, double ringDepth, double shift) {
    const double ringY = (wall[1].Y + wall[2].Y) / 2;
    const double ringWidth = (wall[1].Y - wall[2].Y) / 10;
    std::string csv = "x,y\n";
    for (const double side : {-1.0, 1.0}) {
        for (std::size_t k = 0; k + 1 < wall.size(); ++k) {
            for (int i = 0; i < 300; ++i) {
                const double t = i / 300.0;
                const double y = wall[k].Y + (wall[k + 1].Y - wall[k].Y) * t;
                const double ring =
                    k == 1 ? ringDepth * std::exp(-std::pow((y - ringY) / ringWidth, 2)) : 0;
                const double x = wall[k].X + (wall[k + 1].X - wall[k].X) * t + ring;
                csv += ShortestText(side * x) + "," + ShortestText(y + shift) + "\n";
            }
        }
    }
    return csv;
}

} // namespace dieprofile::test
