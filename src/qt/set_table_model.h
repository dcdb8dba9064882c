// The die set's passes as a table: the CSV's columns under readable headings with their units,
// and beside the pass number a column of marks (the wire would break, above the caution level, the
// wire on the bell, a die that cannot be calculated). Marked rows are tinted and say why in their
// tooltip. A pass whose die has fields of its own has a star by its number.
#pragma once

#include "dieset/die_set.h"
#include "dieset/schedule_pages.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>

namespace dieprofile {

// "the wire would break (stress ratio 1.12)", ...: what a mark means for this pass.
QString MarkText(PassMark mark, const DieSetPass& pass, double caution);
QColor MarkColour(PassMark mark);

class SetTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // The die fields each pass has of its own, by their captions, row by row; taken with the
    // next schedule.
    void SetOwnFields(std::vector<QStringList> captions) { ownFields_ = std::move(captions); }
    // The same, from the set's own profiles of the schedule's passes.
    void SetOwnFieldsOf(const DieSetFile& set, const DieSetSchedule& schedule);
    void SetSchedule(const DieSetSchedule& schedule, double caution);
    void SetCaution(double caution);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The heading of a column in one line ("Outlet (mm)"), and a cell as shown.
    QString Heading(int column) const;
    QString Cell(int row, int column) const;
    // The marks column's text for a row: its marks joined, empty when the pass is sound.
    QString Marks(int row) const;
    // The tooltip of every cell of a marked row: the marks, each on its own line.
    QString Reasons(int row) const;
    // The pass column's tooltip line of a pass with a die of its own; empty for the set's die.
    QString OwnProfile(int row) const;
    double Caution() const { return caution_; }
    const std::vector<DieSetPass>& Passes() const { return passes_; }

private:
    std::vector<DieSetPass> passes_;
    std::vector<QStringList> ownFields_;
    double unitDivisor_ = 1;
    double caution_ = 0;
};

} // namespace dieprofile
