#include "qt/set_table_model.h"

#include "core/units.h"
#include "qt/widget_design.h"

#include <cmath>

namespace dieprofile {

namespace {

// The marks stand next to the pass number, where they are seen without scrolling; the CSV's
// columns follow in its order.
constexpr int kMarksColumn = 1;

const PassColumn& ColumnOf(int column) {
    return PassColumns()[static_cast<std::size_t>(column == 0 ? 0 : column - 1)];
}

bool IsWord(int column) {
    return column == kMarksColumn || ColumnOf(column).Kind == PassColumnKind::YesNo;
}

} // namespace

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

QColor MarkColour(PassMark mark) {
    return QColor::fromRgb(static_cast<QRgb>(MarkTint(mark)));
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
    return parent.isValid() ? 0 : static_cast<int>(PassColumns().size()) + 1;
}

QString SetTableModel::Heading(int column) const {
    if (column == kMarksColumn) {
        return QStringLiteral("Marks");
    }
    return ToQString(PassColumnHeading(ColumnOf(column), unitDivisor_));
}

QString SetTableModel::Cell(int row, int column) const {
    const DieSetPass& pass = passes_.at(static_cast<std::size_t>(row));
    if (column == kMarksColumn) {
        return Marks(row);
    }
    if (column == 0 && !OwnProfile(row).isEmpty()) {
        return QString::number(pass.Pass) + QLatin1Char('*');
    }
    return ToQString(PassColumnCell(ColumnOf(column), pass, unitDivisor_));
}

QString SetTableModel::Marks(int row) const {
    return ToQString(MarkWords(passes_.at(static_cast<std::size_t>(row)), caution_));
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
        return IsWord(index.column()) ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
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
        if (index.column() != kMarksColumn &&
            ColumnOf(index.column()).Kind == PassColumnKind::YesNo && pass.Die.BellContact) {
            return MarkColour(PassMark::BellContact);
        }
        return marks.front() == PassMark::BellContact ? QVariant()
                                                      : QVariant(MarkColour(marks.front()));
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
        if (section == kMarksColumn) {
            return Heading(section);
        }
        QStringList lines;
        for (const std::string& line : PassColumnHeadingLines(ColumnOf(section), unitDivisor_)) {
            lines << ToQString(line);
        }
        return lines.join(QLatin1Char('\n'));
    }
    if (role == Qt::ToolTipRole) {
        return Heading(section);
    }
    return {};
}

} // namespace dieprofile
