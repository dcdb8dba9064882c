#include "qt/pass_profile_dialog.h"

#include "catalogue/catalogue.h"
#include "profile/form_design.h"
#include "qt/widget_design.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace dieprofile {

PassProfileDialog::PassProfileDialog(const QString& note, QWidget* parent) : QDialog(parent) {
    auto* noteLabel = new QLabel(note, this);
    noteLabel->setWordWrap(true);
    form_ = new QFormLayout;
    blank_ = new QComboBox(this);
    blank_->setObjectName(QStringLiteral("blank"));
    for (const std::string_view row : CatalogueRows()) {
        blank_->addItem(ToQString(row));
    }
    form_->addRow(QStringLiteral("Blank:"), blank_);
    for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(ToQString(kSetDieFields[i].Key));
        field->setMaxLength(static_cast<int>(kMaxDesignFieldCharacters));
        field->setMinimumWidth(120);
        form_->addRow(ToQString(Text1Caption(kSetDieFields[i].Text1Index)) + QLatin1Char(':'),
                      field);
        fields_[i] = field;
    }
    connect(blank_, &QComboBox::currentIndexChanged, this, &PassProfileDialog::ShowDiamondFields);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(noteLabel);
    layout->addLayout(form_);
    layout->addWidget(buttons);
}

PassProfileDialog::PassProfileDialog(int pass, const std::string& setBlank,
                                     const std::array<std::string, kSetDieFields.size()>& setTexts,
                                     const std::optional<std::string>& ownBlank,
                                     const OwnFieldTexts& own, QWidget* parent)
    : PassProfileDialog(QStringLiteral("The die of pass %1. A field left empty keeps the set's "
                                       "value, shown in grey.")
                            .arg(pass),
                        parent) {
    setWindowTitle(QStringLiteral("Pass Profile"));
    setBlank_ = setBlank;
    ofPass_ = true;
    blank_->insertItem(0, QStringLiteral("the set's: %1").arg(ToQString(setBlank)));
    blank_->setCurrentIndex(ownBlank ? std::max(0, blank_->findText(ToQString(*ownBlank))) : 0);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->setPlaceholderText(ToQString(setTexts[i]));
        fields_[i]->setText(ToQString(own[i].value_or(std::string())));
    }
    ShowDiamondFields();
}

PassProfileDialog::PassProfileDialog(const std::string& blank,
                                     const std::array<std::string, kSetDieFields.size()>& texts,
                                     QWidget* parent)
    : PassProfileDialog(QStringLiteral("The die of every pass, but for what a pass has of its "
                                       "own; each pass sets its own wire diameters."),
                        parent) {
    setWindowTitle(QStringLiteral("Die Profile"));
    setBlank_ = blank;
    blank_->setCurrentIndex(std::max(0, blank_->findText(ToQString(blank))));
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->setText(ToQString(texts[i]));
    }
    ShowDiamondFields();
}

void PassProfileDialog::ShowDiamondFields() {
    const bool typed = Blank().value_or(setBlank_) == kCustomBlankRow;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (IsDiamondField(i)) {
            form_->setRowVisible(fields_[i], typed);
        }
    }
}

std::optional<std::string> PassProfileDialog::Blank() const {
    if (ofPass_ && blank_->currentIndex() <= 0) {
        return std::nullopt;
    }
    return blank_->currentText().toStdString();
}

SetDieTexts PassProfileDialog::DieTexts() const {
    SetDieTexts texts;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        texts[i] = fields_[i]->text().toStdString();
    }
    return texts;
}

OwnFieldTexts PassProfileDialog::FieldTexts() const {
    const bool typed = Blank().value_or(setBlank_) == kCustomBlankRow;
    OwnFieldTexts texts;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if ((typed || !IsDiamondField(i)) && !fields_[i]->text().trimmed().isEmpty()) {
            texts[i] = fields_[i]->text().toStdString();
        }
    }
    return texts;
}

} // namespace dieprofile
