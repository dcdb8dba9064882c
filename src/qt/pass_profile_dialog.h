// The dialog of "Pass Profile…" in the Die Set window: one pass's die given a blank and fields of
// its own. Each of the die's fields shows the set's value greyed when empty; a field left empty
// keeps the set's value, and the first blank offered is the set's. The diamond's diameter and
// height are offered only with "BLANK", as the designed window offers them. Values are not checked
// here: the pass's row says what its die makes of them. "Die Profile…" shows the same dialog for
// the set's own die, its fields as they are typed and its blank one of the catalogue's.
#pragma once

#include "dieset/die_set.h"

#include <QDialog>
#include <array>
#include <optional>
#include <string>

class QComboBox;
class QFormLayout;
class QLineEdit;

namespace dieprofile {

class PassProfileDialog : public QDialog {
    Q_OBJECT
public:
    // pass: 1-based; setBlank and setTexts: the set's die; ownBlank and own: what the pass has of
    // its own.
    PassProfileDialog(int pass, const std::string& setBlank,
                      const std::array<std::string, kSetDieFields.size()>& setTexts,
                      const std::optional<std::string>& ownBlank, const OwnFieldTexts& own,
                      QWidget* parent);

    // The set's own die: its blank and fields.
    PassProfileDialog(const std::string& blank,
                      const std::array<std::string, kSetDieFields.size()>& texts, QWidget* parent);

    // The texts as typed, none where the field is left empty or is not offered.
    OwnFieldTexts FieldTexts() const;
    // The blank chosen; none for the set's.
    std::optional<std::string> Blank() const;
    // The set's own die: every field's text as typed, offered or not.
    SetDieTexts DieTexts() const;

    // In the order of kSetDieFields.
    QLineEdit* Field(std::size_t index) const { return fields_.at(index); }
    QComboBox* BlankChoice() const { return blank_; }

private:
    // The note, the blank's choice of the catalogue's rows, the empty fields and the buttons.
    explicit PassProfileDialog(const QString& note, QWidget* parent);
    void ShowDiamondFields();

    std::string setBlank_;
    bool ofPass_ = false; // the first blank offered is the set's
    QComboBox* blank_ = nullptr;
    QFormLayout* form_ = nullptr;
    std::array<QLineEdit*, kSetDieFields.size()> fields_{};
};

} // namespace dieprofile
