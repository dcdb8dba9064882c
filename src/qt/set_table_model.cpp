#include "qt/set_table_model.h"

#include "core/units.h"
#include "qt/widget_design.h"

#include <array>
#include <cmath>
#include <numbers>

namespace dieprofile {

namespace {

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;

// A column in the order of the CSV's. Lengths take the set's unit, and as many decimals as a
// drawing gives them (4 in inches, 3 in millimetres).
struct Column {
    const char* Heading;
    const char* Unit; // empty: none; "L": the set's length unit
    int Decimals;     // -1: a whole number or a word
    double (*Value)(const DieSetPass&);
};

double MeetingPoint(const DieSetPass& pass) {
    return pass.Die.MeetingPointAboveBearing.value_or(std::nan(""));
}

const std::array<Column, 18> kColumns{{
    {"Pass", "", -1, [](const DieSetPass& p) { return static_cast<double>(p.Pass); }},
    {"Incoming", "L", 0, [](const DieSetPass& p) { return p.Incoming; }},
    {"Outlet", "L", 0, [](const DieSetPass& p) { return p.Outlet; }},
    {"Area reduction", "%", 2, [](const DieSetPass& p) { return p.AreaReduction * 100; }},
    {"Elongation", "%", 2, [](const DieSetPass& p) { return p.Elongation * 100; }},
    {"True strain", "", 4, [](const DieSetPass& p) { return p.TrueStrain; }},
    {"Delta", "", 3, [](const DieSetPass& p) { return p.Die.Calculated ? p.Die.Delta : NAN; }},
    {"Half angle", "°", 2, [](const DieSetPass& p) { return p.HalfAngle * kDegreesPerRadian; }},
    {"Optimum half angle", "°", 2,
     [](const DieSetPass& p) { return p.OptimumHalfAngle * kDegreesPerRadian; }},
    {"Mean flow stress", "MPa", 1, [](const DieSetPass& p) { return p.MeanFlowStress; }},
    {"Drawing stress", "MPa", 1, [](const DieSetPass& p) { return p.DrawingStress; }},
    {"Stress ratio", "", 3, [](const DieSetPass& p) { return p.StressRatio; }},
    {"Force", "N", 1, [](const DieSetPass& p) { return p.Force; }},
    {"Speed", "m/s", 3, [](const DieSetPass& p) { return p.Speed; }},
    {"Power", "kW", 3, [](const DieSetPass& p) { return p.Power; }},
    {"Temperature rise", "K", 1, [](const DieSetPass& p) { return p.TemperatureRise; }},
    {"Meeting point above bearing", "L", 0, MeetingPoint},
    {"Bell contact", "", -1, nullptr},
}};
// The marks stand next to the pass number, where they are seen without scrolling; the CSV's
// columns follow in its order.
constexpr int kMarksColumn = 1;
constexpr int kBellColumn = static_cast<int>(kColumns.size());

const Column& SpecOf(int column) {
    return kColumns.at(static_cast<std::size_t>(column == 0 ? 0 : column - 1));
}

} // namespace

std::vector<PassMark> MarksOf(const DieSetPass& pass, double caution) {
    std::vector<PassMark> marks;
    if (!pass.Problem.empty()) {
        marks.push_back(PassMark::DieRefused);
    }
    if (pass.Breaks()) {
        marks.push_back(PassMark::Breaks);
    } else if (caution > 0 && pass.StressRatio > caution) {
        marks.push_back(PassMark::Caution);
    }
    if (pass.Die.Calculated && pass.Die.BellContact) {
        marks.push_back(PassMark::BellContact);
    }
    return marks;
}

QString MarkText(PassMark mark, const DieSetPass& pass, double caution) {
    switch (mark) {
    case PassMark::None:
        break;
    case PassMark::DieRefused:
        return QStringLiteral("not calculated: %1").arg(ToQString(pass.Problem));
    case PassMark::Breaks:
        return QStringLiteral("the wire would break (stress ratio %1)")
            .arg(pass.StressRatio, 0, 'f', 3);
    case PassMark::Caution:
        return QStringLiteral("stress ratio %1 above the caution level %2")
            .arg(pass.StressRatio, 0, 'f', 3)
            .arg(caution, 0, 'g', 4);
    case PassMark::BellContact:
        return QStringLiteral("the entering wire touches the bell");
    }
    return {};
}

QColor MarkTint(PassMark mark) {
    switch (mark) {
    case PassMark::DieRefused:
        return {0xdd, 0xdd, 0xdd};
    case PassMark::Breaks:
        return {0xf4, 0xb4, 0xb4};
    case PassMark::Caution:
        return {0xfb, 0xe3, 0xa8};
    case PassMark::BellContact:
        return {0xc8, 0xdc, 0xf4};
    case PassMark::None:
        break;
    }
    return {};
}

void SetTableModel::SetSchedule(const DieSetSchedule& schedule, double caution) {
    const bool sameShape =
        passes_.size() == schedule.Passes.size() && unitDivisor_ == schedule.Inputs.UnitDivisor;
    if (!sameShape) {
        beginResetModel();
    }
    passes_ = schedule.Passes;
    unitDivisor_ = schedule.Inputs.UnitDivisor;
    caution_ = caution;
    if (sameShape) {
        // A keystroke that keeps the number of passes changes only the figures: the view keeps
        // its selection and scroll position.
        if (!passes_.empty()) {
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        }
    } else {
        endResetModel();
    }
}

void SetTableModel::SetOwnFieldsOf(const DieSetFile& set, const DieSetSchedule& schedule) {
    std::vector<QStringList> own;
    for (const DieSetPass& pass : schedule.Passes) {
        QStringList captions;
        for (const OwnValue& value : OwnValuesOf(set, pass.Pass)) {
            captions << ToQString(value.Caption);
        }
        own.push_back(captions);
    }
    SetOwnFields(std::move(own));
}

void SetTableModel::SetCaution(double caution) {
    caution_ = caution;
    if (!passes_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

int SetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(passes_.size());
}

int SetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kColumns.size()) + 1;
}

QString SetTableModel::Heading(int column) const {
    if (column == kMarksColumn) {
        return QStringLiteral("Marks");
    }
    const Column& info = SpecOf(column);
    const QString unit = qstrcmp(info.Unit, "L") == 0 ? ToQString(UnitSymbol(unitDivisor_))
                                                      : QString::fromUtf8(info.Unit);
    return unit.isEmpty() ? QString::fromUtf8(info.Heading)
                          : QStringLiteral("%1 (%2)").arg(QString::fromUtf8(info.Heading), unit);
}

QString SetTableModel::Cell(int row, int column) const {
    const DieSetPass& pass = passes_.at(static_cast<std::size_t>(row));
    if (column == kMarksColumn) {
        return Marks(row);
    }
    if (column == 0 && !OwnProfile(row).isEmpty()) {
        return QString::number(pass.Pass) + QLatin1Char('*');
    }
    if (column == kBellColumn) {
        return !pass.Die.Calculated   ? QStringLiteral("—")
               : pass.Die.BellContact ? QStringLiteral("yes")
                                      : QStringLiteral("no");
    }
    const Column& info = SpecOf(column);
    const double value = info.Value(pass);
    if (!std::isfinite(value)) {
        return QStringLiteral("—");
    }
    const int decimals =
        info.Decimals != 0 ? info.Decimals : (UnitSymbol(unitDivisor_) == "in" ? 4 : 3);
    return decimals < 0 ? QString::number(std::lround(value))
                        : QString::number(value, 'f', decimals);
}

QString SetTableModel::Marks(int row) const {
    const DieSetPass& pass = passes_.at(static_cast<std::size_t>(row));
    QStringList words;
    for (PassMark mark : MarksOf(pass, caution_)) {
        switch (mark) {
        case PassMark::DieRefused:
            words << QStringLiteral("not calculated");
            break;
        case PassMark::Breaks:
            words << QStringLiteral("breaks");
            break;
        case PassMark::Caution:
            words << QStringLiteral("caution");
            break;
        case PassMark::BellContact:
            words << QStringLiteral("bell");
            break;
        case PassMark::None:
            break;
        }
    }
    return words.join(QStringLiteral(", "));
}

QString SetTableModel::Reasons(int row) const {
    const DieSetPass& pass = passes_.at(static_cast<std::size_t>(row));
    QStringList lines;
    for (PassMark mark : MarksOf(pass, caution_)) {
        lines << MarkText(mark, pass, caution_);
    }
    return lines.join(QLatin1Char('\n'));
}

QString SetTableModel::OwnProfile(int row) const {
    const auto at = static_cast<std::size_t>(row);
    if (at >= ownFields_.size() || ownFields_[at].isEmpty()) {
        return {};
    }
    return QStringLiteral("* own profile: %1").arg(ownFields_[at].join(QStringLiteral(", ")));
}

QVariant SetTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const DieSetPass& pass = passes_.at(static_cast<std::size_t>(index.row()));
    switch (role) {
    case Qt::DisplayRole:
        return Cell(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return index.column() == kBellColumn || index.column() == kMarksColumn
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole: {
        QStringList lines;
        if (index.column() == 0 && !OwnProfile(index.row()).isEmpty()) {
            lines << OwnProfile(index.row());
        }
        if (const QString reasons = Reasons(index.row()); !reasons.isEmpty()) {
            lines << reasons;
        }
        return lines.isEmpty() ? QVariant() : QVariant(lines.join(QLatin1Char('\n')));
    }
    case Qt::BackgroundRole: {
        const std::vector<PassMark> marks = MarksOf(pass, caution_);
        if (marks.empty()) {
            return {};
        }
        // The bell is the die's own warning and shows on its cell; the row takes the worst of the
        // others.
        if (index.column() == kBellColumn && pass.Die.BellContact) {
            return MarkTint(PassMark::BellContact);
        }
        return marks.front() == PassMark::BellContact ? QVariant()
                                                      : QVariant(MarkTint(marks.front()));
    }
    default:
        return {};
    }
}

QVariant SetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        // Headings wrap between words, the unit on a line of its own, so that the columns stay
        // about as narrow as their figures.
        const QString heading = Heading(section);
        const qsizetype unit = heading.indexOf(QLatin1String(" ("));
        QStringList lines;
        for (const QString& word :
             heading.left(unit > 0 ? unit : heading.size()).split(QLatin1Char(' '))) {
            if (!lines.isEmpty() && lines.back().size() + 1 + word.size() <= 10) {
                lines.back() += QLatin1Char(' ') + word;
            } else {
                lines << word;
            }
        }
        if (unit > 0) {
            lines << heading.mid(unit + 1);
        }
        return lines.join(QLatin1Char('\n'));
    }
    if (role == Qt::ToolTipRole) {
        return Heading(section);
    }
    return {};
}

} // namespace dieprofile
