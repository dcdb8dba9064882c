#include "qt/main_window.h"

#include "catalogue/catalogue.h"
#include "core/message_text.h"
#include "profile/form_design.h"
#include "qt/application.h"
#include "qt/catalogue_list.h"
#include "qt/command_button.h"
#include "qt/contact_label.h"
#include "qt/design_commands.h"
#include "qt/die_set_window.h"
#include "qt/drawing_panel.h"
#include "qt/field_edit.h"
#include "qt/fonts.h"
#include "qt/inspection_window.h"
#include "qt/local_path.h"
#include "qt/paper_painter.h"
#include "qt/printing.h"
#include "qt/widget_design.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <limits>

namespace dieprofile {

namespace {

// The model counts a field's characters as Unicode code points; Qt counts UTF-16 units.
int CodePointsBefore(const QString& text, int position) {
    return static_cast<int>(QStringView(text).left(position).toUcs4().size());
}

int PositionOfCodePoint(const QString& text, int codePoints) {
    int position = 0;
    for (int seen = 0; seen < codePoints && position < text.size(); ++seen) {
        position += text.at(position).isHighSurrogate() && position + 1 < text.size() ? 2 : 1;
    }
    return position;
}

bool IsContactLine(std::string_view name) {
    const auto lines = ContactLines();
    return std::find(lines.begin(), lines.end(), name) != lines.end();
}

// The width a message box needs for its whole title: the window manager draws it in a face of its
// own, with buttons beside it. A generous guess: the desktop's title font in bold and at least 11
// points, and room for four buttons as wide as the title bar is high.
int TitleRoom(const QString& title) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(std::max(font.pointSizeF(), 11.0));
    } else {
        font.setPixelSize(std::max(font.pixelSize(), 15));
    }
    const QFontMetrics metrics(font);
    const int button = metrics.height() + 8;
    return metrics.horizontalAdvance(title) + 4 * button + 16;
}

} // namespace

MainWindow::MainWindow() : model_(*this) {
    setWindowTitle(ToQString(kWindow.Caption));
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(Px(kWindow.ClientWidth), Px(kWindow.ClientHeight));
    setAutoFillBackground(true);
    setPalette(DesignPalette(palette()));
    setFont(DesignFont(FontDesign{}));
    panel_ = new DrawingPanel(model_.Scene(), this);
    panel_->setObjectName(QStringLiteral("z"));
    panel_->setGeometry(
        PxRect(kWindow.PanelLeft, kWindow.PanelTop, kWindow.PanelWidth, kWindow.PanelHeight));
    BuildControls();
    ConnectEvents();
    commands_ = new DesignCommands(*this);
}

MainWindow::~MainWindow() {
    // The widgets hide while the window is taken apart, and the application reports the focus
    // leaving them; by then this is no longer a whole MainWindow to hand the news to.
    disconnect(focusTracking_);
}

void MainWindow::BuildControls() {
    auto* optionGroup = new QButtonGroup(this);
    for (const ControlDesign& design : FormControls()) {
        QWidget* parent = design.InWindow ? static_cast<QWidget*>(this) : panel_;
        QWidget* widget = nullptr;
        const QString text = ToQString(design.Text);
        switch (design.Kind) {
        case ControlKind::Label: {
            auto* label = IsContactLine(design.Name) ? new ContactLabel(text, parent)
                                                     : new QLabel(text, parent);
            label->setWordWrap(true);
            label->setAlignment(HorizontalAlignment(design.Alignment) | Qt::AlignTop);
            labels_.emplace(std::string(design.Name), label);
            widget = label;
            break;
        }
        case ControlKind::TextField: {
            auto* field = new FieldEdit(parent);
            field->setMaxLength(std::numeric_limits<int>::max());
            if (design.Shaded) {
                QPalette shaded = field->palette();
                shaded.setColor(QPalette::Base, QColor(0x80, 0x80, 0x80));
                shaded.setColor(QPalette::Text, Qt::black);
                field->setPalette(shaded);
            }
            fields_.emplace(design.Id, field);
            widget = field;
            break;
        }
        case ControlKind::DropDownList: {
            combo_ = new CatalogueList(parent);
            combo_->setEditable(false);
            for (std::string_view row : CatalogueRows()) {
                combo_->addItem(ToQString(row));
            }
            combo_->setCurrentIndex(-1);
            combo_->setMaxVisibleItems(static_cast<int>(CatalogueRows().size()));
            widget = combo_;
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = new QRadioButton(text, parent);
            const int index = design.Id == ControlId::Option1_0 ? 0 : 1;
            optionGroup->addButton(option, index);
            options_.at(static_cast<std::size_t>(index)) = option;
            widget = option;
            break;
        }
        case ControlKind::PushButton: {
            auto* button = new CommandButton(text, parent);
            button->setAutoDefault(false);
            (design.Id == ControlId::Command1 ? calculate_ : print_) = button;
            widget = button;
            break;
        }
        }
        widget->setObjectName(ToQString(design.Name));
        widget->setFont(DesignFont(design.Font));
        if (design.Kind == ControlKind::TextField) {
            // Given its text once its face is set, a field lays the text out once, not twice.
            Field(design.Id)->setText(text);
        }
        widget->setGeometry(PxRect(design.Left, design.Top, design.Width, design.Height));
        widget->setAccessibleName(ToQString(design.Text));
    }
    options_[0]->setChecked(true);

    // The contact lines' values start in one column, after the longest tag and a blank.
    int valueColumn = 0;
    for (std::string_view name : ContactLines()) {
        valueColumn = std::max(valueColumn, ContactLine(name)->TagRoom());
    }
    for (std::string_view name : ContactLines()) {
        ContactLine(name)->SetValueColumn(valueColumn);
    }

    // Each field and result is named by the caption of its row, for screen readers as well.
    for (const ControlDesign& design : FormControls()) {
        if (design.Buddy.empty()) {
            continue;
        }
        QLabel* buddy = labels_.at(std::string(design.Buddy));
        QWidget* widget = Widget(design.Id);
        buddy->setBuddy(widget);
        widget->setAccessibleName(buddy->text());
    }

    for (const LabelDesign& design : SceneLabels()) {
        auto* label = new QLabel(QStringLiteral("***"), panel_);
        label->setObjectName(ToQString(design.Name));
        label->setAlignment(HorizontalAlignment(design.Alignment) | Qt::AlignTop);
        label->setGeometry(PxRect(design.Left, design.Top, design.Width, design.Height));
        label->setFont(DesignFont(FontDesign{}));
        labels_.emplace(std::string(design.Name), label);
    }

    // Text3 belongs to the window and lies over the panel.
    Widget(ControlId::Text3)->raise();

    const auto& order = TabOrder();
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(Widget(order[i - 1]), Widget(order[i]));
    }
}

void MainWindow::ConnectEvents() {
    connect(combo_, &QComboBox::activated, this,
            [this](int index) { Handle([&] { model_.PickRow(index + 1); }); });
    for (int index = 0; index < 2; ++index) {
        connect(options_.at(static_cast<std::size_t>(index)), &QRadioButton::clicked, this,
                [this, index] { Handle([&] { model_.ChooseOption(index); }); });
    }
    connect(calculate_, &QPushButton::clicked, this,
            [this] { Handle([&] { model_.Command1_Click(); }); });
    connect(print_, &QPushButton::clicked, this,
            [this] { Handle([&] { model_.Command2_Click(); }); });

    for (const auto& [id, field] : fields_) {
        const ControlId control = id;
        FieldEdit* edit = field;
        auto syncSelection = [this, control, edit] {
            if (refreshing_) {
                return;
            }
            const QString text = edit->text();
            const int start =
                edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
            const int end = edit->hasSelectedText() ? edit->selectionEnd() : start;
            const int first = CodePointsBefore(text, start);
            model_.SetSelection(control, first, CodePointsBefore(text, end) - first);
        };
        connect(edit, &QLineEdit::textEdited, this, [this, control, edit, syncSelection] {
            model_.ReplaceText(control, edit->text().toStdString());
            syncSelection();
        });
        connect(edit, &QLineEdit::cursorPositionChanged, this, syncSelection);
        connect(edit, &QLineEdit::selectionChanged, this, syncSelection);
        connect(edit, &FieldEdit::focusReceived, this,
                [this, control] { Handle([&] { model_.FocusArrived(control); }); });
    }
    focusTracking_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            const ControlId id = IdOf(now);
            if (id != ControlId::None && model_.Field(id) == nullptr) {
                model_.FocusArrived(id);
            }
        });
}

template <typename Handler> void MainWindow::Handle(Handler&& handler) {
    handler();
    Refresh();
}

void MainWindow::Start() {
    model_.Form_Load();
    Refresh();
    show();
    ShowApplicationIcon();
    model_.Show();
    Refresh();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The style draws the focus frame only in a window whose focus the keyboard has moved; the
    // window counts as such from the start, since the blank list holds the focus at start-up and
    // the arrow keys and the wheel change it. (Set before the window is shown, the flag is lost.)
    setAttribute(Qt::WA_KeyboardFocusChange);
    RecentreOnceFramed();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    RecentreOnceFramed();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RecentreOnceFramed();
}

void MainWindow::RecentreOnceFramed() {
    // Start-up centres the window on its outer size, but a window manager frames the window only
    // after it is shown, and tells so by moving it. Once the frame is known the window is centred
    // again with it, as start-up meant to; only once, so a window the user moves stays put.
    if (recentred_ || !isVisible() || frameGeometry().size() == size()) {
        return;
    }
    recentred_ = true;
    model_.CentreWindow();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = commands_->CreateMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A design from a file that has changed since is not lost without a word; any other window
    // closes as designed.
    if (commands_ != nullptr && !commands_->MayLeaveDesign()) {
        event->ignore();
        return;
    }
    // Quitting loses a changed die set as surely as a changed design.
    if (dieSet_ != nullptr && dieSet_->isVisible() && !dieSet_->MayLeaveSet()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool MainWindow::MayLeaveDesign() {
    return commands_->MayLeaveDesign();
}

void MainWindow::OpenDesignFile(const QString& path) {
    Handle([&] { model_.OpenDesign(PathBytes(path)); });
}

DieSetWindow& MainWindow::ShowDieSet() {
    const bool fresh = dieSet_ == nullptr || !dieSet_->isVisible();
    if (dieSet_ == nullptr) {
        dieSet_ = std::make_unique<DieSetWindow>(*this);
    }
    if (fresh) {
        dieSet_->StartFromDesignedWindow();
        dieSet_->PlaceBeside(*this);
    }
    dieSet_->show();
    dieSet_->raise();
    dieSet_->activateWindow();
    return *dieSet_;
}

InspectionWindow& MainWindow::ShowInspection() {
    if (inspection_ == nullptr) {
        inspection_ = std::make_unique<InspectionWindow>(*this);
    }
    inspection_->show();
    inspection_->raise();
    inspection_->activateWindow();
    return *inspection_;
}

DieSetWindow& MainWindow::ShowDieSetFile(const QString& path) {
    DieSetWindow& set = ShowDieSet();
    set.OpenSetFile(path);
    return set;
}

void MainWindow::Refresh() {
    refreshing_ = true;
    for (const auto& [id, edit] : fields_) {
        const TextField& field = *model_.Field(id);
        const QString text = QString::fromStdString(field.Text);
        if (edit->text() != text) {
            edit->setText(text);
        }
        const int start = PositionOfCodePoint(text, field.SelStart);
        const int end = PositionOfCodePoint(text, field.SelStart + field.SelLength);
        const bool same = edit->hasSelectedText()
                              ? edit->selectionStart() == start && edit->selectionEnd() == end
                              : start == end && edit->cursorPosition() == start;
        if (!same) {
            if (start == end) {
                edit->setCursorPosition(start);
            } else {
                edit->setSelection(start, end - start);
            }
        }
        edit->setVisible(field.Visible);
    }
    labels_.at("Label1(6)")->setVisible(model_.Label1_6().Visible);
    labels_.at("Label1(11)")->setVisible(model_.Label1_11().Visible);
    for (const LabelDesign& design : SceneLabels()) {
        labels_.at(std::string(design.Name))
            ->setText(QString::fromStdString((model_.Scene().*design.Member).Caption));
    }
    combo_->setCurrentIndex(model_.ComboRow() - 1);
    options_.at(static_cast<std::size_t>(model_.OptionIndex()))->setChecked(true);
    panel_->update();
    if (commands_ != nullptr) {
        commands_->UpdateEnabled();
    }
    refreshing_ = false;
}

FieldEdit* MainWindow::Field(ControlId id) const {
    const auto found = fields_.find(id);
    return found == fields_.end() ? nullptr : found->second;
}

QLabel* MainWindow::ValueLabel(std::string_view name) const {
    return CaptionLabel(name);
}

ContactLabel* MainWindow::ContactLine(std::string_view name) const {
    return qobject_cast<ContactLabel*>(CaptionLabel(name));
}

QLabel* MainWindow::CaptionLabel(std::string_view name) const {
    const auto found = labels_.find(name);
    return found == labels_.end() ? nullptr : found->second;
}

QWidget* MainWindow::Widget(ControlId id) const {
    switch (id) {
    case ControlId::Combo1:
        return combo_;
    case ControlId::Command1:
        return calculate_;
    case ControlId::Command2:
        return print_;
    case ControlId::Option1_0:
        return options_[0];
    case ControlId::Option1_1:
        return options_[1];
    default:
        return Field(id);
    }
}

ControlId MainWindow::IdOf(const QWidget* widget) const {
    if (widget == nullptr) {
        return ControlId::None;
    }
    for (ControlId id : TabOrder()) {
        if (Widget(id) == widget) {
            return id;
        }
    }
    return ControlId::None;
}

void MainWindow::ShowMessage(std::string_view text) {
    Refresh();
    // A name quoted in a message may hold control characters; the box shows them escaped.
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    ToQString(WithControlCharactersEscaped(text)), QMessageBox::Ok, this);
    // The box sizes itself to its text; a row as wide as the title needs keeps the title whole.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(TitleRoom(box.windowTitle()), 0, QSizePolicy::Fixed,
                                      QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

void MainWindow::MoveFocus(ControlId control) {
    if (QWidget* widget = Widget(control)) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

TwipSize MainWindow::ScreenSize() {
    const QSize size = screen()->geometry().size();
    return {static_cast<float>(size.width() * kTwipsPerPixel),
            static_cast<float>(size.height() * kTwipsPerPixel)};
}

TwipSize MainWindow::WindowOuterSize() {
    const QSize outer = frameGeometry().size();
    return {static_cast<float>(outer.width() * kTwipsPerPixel),
            static_cast<float>(outer.height() * kTwipsPerPixel)};
}

void MainWindow::MoveWindow(float left, float top) {
    const QPoint origin = screen()->geometry().topLeft();
    move(origin + QPoint(Px(left), Px(top)));
}

void MainWindow::ResizeWindow(float outerWidth, float outerHeight) {
    const QSize frame = frameGeometry().size() - size();
    setFixedSize(Px(outerWidth) - frame.width(), Px(outerHeight) - frame.height());
}

void MainWindow::RepaintNow() {
    Refresh();
    repaint();
}

PrintOutcome MainWindow::PrintWindow() {
    // The page shows the window's content as designed; the strip the print action adds to the
    // window for the page stays blank, so it is left out and the content centred.
    const QRectF content(0, 0, Px(kWindow.ClientWidth), Px(kWindow.ClientHeight));
    const Expected<Printing*, QString> printing = LoadedPrinting();
    if (!printing) {
        return {PrintOutcome::Kind::Failed, printing.Error().toStdString(), {}};
    }
    return (*printing)->PrintPage(windowTitle(), orientation_, content, [this](QPainter& painter) {
        PaintWindowForPaper(painter, *this);
    });
}

} // namespace dieprofile
