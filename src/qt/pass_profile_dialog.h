// The dialog of "Pass Profile…" in the Die Set window: one pass's die given fields of its own. Each
// of the die's fields shows the set's value greyed when empty; a field left empty keeps the set's
// value. Values are not checked here: the pass's row says what its die makes of them.
#pragma once

#include "app/die_set.h"

#include <QDialog>
#include <array>
#include <optional>
#include <string>

class QLineEdit;

namespace dieprofile {

class PassProfileDialog : public QDialog {
    Q_OBJECT
public:
    // pass: 1-based; setTexts: the set's die fields; own: what the pass has of its own.
    PassProfileDialog(int pass, const std::array<std::string, kSetDieFields.size()>& setTexts,
                      const OwnFieldTexts& own, QWidget* parent);

    // The texts as typed, none where the field is left empty.
    OwnFieldTexts FieldTexts() const;

    // In the order of kSetDieFields.
    QLineEdit* Field(std::size_t index) const { return fields_.at(index); }

private:
    std::array<QLineEdit*, kSetDieFields.size()> fields_{};
};

} // namespace dieprofile
