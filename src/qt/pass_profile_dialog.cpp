#include "qt/pass_profile_dialog.h"

#include "app/form_design.h"
#include "qt/widget_design.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace dieprofile {

PassProfileDialog::PassProfileDialog(int pass,
                                     const std::array<std::string, kSetDieFields.size()>& setTexts,
                                     const OwnFieldTexts& own, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Pass Profile"));
    auto* note = new QLabel(QStringLiteral("The die of pass %1. A field left empty keeps the "
                                           "set's value, shown in grey.")
                                .arg(pass),
                            this);
    note->setWordWrap(true);
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(ToQString(kSetDieFields[i].Key));
        field->setMaxLength(static_cast<int>(kMaxDesignFieldCharacters));
        field->setMinimumWidth(120);
        field->setPlaceholderText(ToQString(setTexts[i]));
        field->setText(ToQString(own[i].value_or(std::string())));
        form->addRow(ToQString(Text1Caption(kSetDieFields[i].Text1Index)) + QLatin1Char(':'),
                     field);
        fields_[i] = field;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

OwnFieldTexts PassProfileDialog::FieldTexts() const {
    OwnFieldTexts texts;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (!fields_[i]->text().trimmed().isEmpty()) {
            texts[i] = fields_[i]->text().toStdString();
        }
    }
    return texts;
}

} // namespace dieprofile
