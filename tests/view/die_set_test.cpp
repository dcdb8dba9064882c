// The Die Set window driven as a user drives it: opened from the designed window, typed into,
// a pass opened in the designed window by a double-click, saved and opened, exported, and its
// rows marked.
#include "window_harness.h"

#include "app/die_set_model.h"
#include "catalogue/catalogue.h"
#include "core/number_text.h"
#include "dieset/die_set.h"
#include "model/die_set_fixture.h"
#include "qt/design_commands.h"
#include "qt/die_set_window.h"
#include "qt/local_path.h"
#include "qt/pass_profile_dialog.h"
#include "qt/set_plot.h"
#include "qt/set_table_model.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

// The set file's documented example: 2.0 mm to 1.0 mm of annealed copper in six equal passes.
DieSetFile CopperSix() {
    return testing::CopperSet();
}

QString WriteSet(const QTemporaryDir& folder, const QString& name, const DieSetFile& set) {
    QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(DieSetToText(set)));
    return path;
}

QStringList Column(const SetTableModel& table, int column) {
    QStringList cells;
    for (int row = 0; row < table.rowCount(); ++row) {
        cells << table.Cell(row, column);
    }
    return cells;
}

std::string AllCells(const SetTableModel& table) {
    QStringList cells;
    for (int column = 0; column < table.columnCount(); ++column) {
        cells << Column(table, column);
    }
    return cells.join(QLatin1Char('|')).toStdString();
}

// Replaces the field's text in one edit, as pasting over a selection does.
void PasteInto(QLineEdit* field, const QString& text) {
    field->selectAll();
    field->insert(text);
    ASSERT_EQ(field->text(), text);
}

struct SetWindow {
    std::unique_ptr<MainWindow> Window;
    DieSetWindow* Set = nullptr;
    QStringList Messages;
    QTemporaryDir Folder;
    QString Chosen; // what the file dialogs answer
};

// The designed window with its default profile calculated, and the Die Set window opened from it
// with Ctrl+D from a text field, its dialogs and messages answered by the test.
std::unique_ptr<SetWindow> OpenSetWindow() {
    QStandardPaths::setTestModeEnabled(true);
    auto fixture = std::make_unique<SetWindow>();
    fixture->Window = StartWindow();
    CalculateDefaultProfile(*fixture->Window);
    QLineEdit* field = fixture->Window->Field(ControlId::Text1_2);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_D, Qt::ControlModifier);
    fixture->Set = fixture->Window->DieSet();
    if (fixture->Set != nullptr) {
        SetWindow* self = fixture.get();
        fixture->Set->SetMessageSink([self](const QString& text) { self->Messages << text; });
        fixture->Set->SetFileChooser(
            [self](DieSetWindow::FileDialog, const QString&) { return self->Chosen; });
        // Its shortcuts work while it is the active window, as on a desktop.
        EXPECT_TRUE(QTest::qWaitForWindowActive(fixture->Set));
    }
    return fixture;
}

TEST(DieSet, CtrlDOpensAWindowOfItsOwnStartedFromTheDesignAndLeavesTheDesignAsItWas) {
    QStandardPaths::setTestModeEnabled(true);
    const auto window = StartWindow();
    MessageAnswerer answerer;
    CalculateDefaultProfile(*window);
    const std::string before = DumpIgnoringFocus(window->Model());
    QTest::keyClick(window->Field(ControlId::Text1_2), Qt::Key_D, Qt::ControlModifier);

    DieSetWindow* set = window->DieSet();
    ASSERT_NE(set, nullptr);
    EXPECT_TRUE(set->isVisible());
    EXPECT_TRUE(set->isWindow());
    EXPECT_FALSE(set->isModal());
    EXPECT_EQ(set->Field("startDiameter")->text(), window->Field(ControlId::Text1_1)->text());
    EXPECT_EQ(set->Field("finishDiameter")->text(), window->Field(ControlId::Text1_0)->text());
    EXPECT_EQ(set->Field("dies")->text(), QStringLiteral("6"));
    EXPECT_EQ(set->TableModel()->rowCount(), 6);
    EXPECT_EQ(set->CurrentSet().Unit, "in");
    EXPECT_EQ(set->CurrentSet().Blank, "BLANK");
    EXPECT_EQ(set->Plot()->Data().StressRatio.size(), 6U);
    EXPECT_FALSE(set->Refusal()->isVisible()) << set->Refusal()->text().toStdString();
    EXPECT_EQ(DumpIgnoringFocus(window->Model()), before);
    EXPECT_TRUE(answerer.Texts().isEmpty()) << answerer.Texts().join('|').toStdString();
}

TEST(DieSet, TypingRecomputesAndARefusedFieldKeepsTheLastTable) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    set.activateWindow();
    TypeInto(set.Field("dies"), QStringLiteral("8"));
    ASSERT_EQ(set.TableModel()->rowCount(), 8);
    const std::string good = AllCells(*set.TableModel());

    // Each refusal names its field and marks it; the table and plot stay as they were.
    const struct {
        const char* Key;
        QString Text;
        const char* Named;
    } refusals[] = {
        {"finishDiameter", QStringLiteral("0.03"), "Finish"},
        {"finishDiameter", QStringLiteral("x"), "Finish"},
        {"dies", QStringLiteral("0"), "Dies"},
        {"dies", QStringLiteral("101"), "Dies"},
        {"hardeningExponent", QStringLiteral("1"), "Hardening"},
        {"friction", QStringLiteral("0.6"), "Friction"},
        {"density", QStringLiteral("0"), "Density"},
    };
    for (const auto& refusal : refusals) {
        QLineEdit* field = set.Field(refusal.Key);
        const QString kept = field->text();
        PasteInto(field, refusal.Text);
        EXPECT_TRUE(set.Refusal()->isVisible()) << refusal.Key;
        EXPECT_TRUE(set.Refusal()->text().contains(QLatin1String(refusal.Named)))
            << refusal.Key << ": " << set.Refusal()->text().toStdString();
        EXPECT_FALSE(field->styleSheet().isEmpty()) << refusal.Key << " is not marked";
        EXPECT_EQ(AllCells(*set.TableModel()), good) << refusal.Key;
        EXPECT_EQ(set.Plot()->Data().StressRatio.size(), 8U) << refusal.Key;
        PasteInto(field, kept);
        EXPECT_FALSE(set.Refusal()->isVisible()) << refusal.Key;
        EXPECT_TRUE(field->styleSheet().isEmpty()) << refusal.Key;
    }

    // A schedule of typed outlets; the table follows every character.
    set.ScheduleChoice()->setCurrentIndex(static_cast<int>(ScheduleKind::Diameters));
    TypeInto(set.Field("outlets"), QStringLiteral("0.019, 0.016 0.014;0.012"));
    EXPECT_EQ(Column(*set.TableModel(), 3), (QStringList{"0.0190", "0.0160", "0.0140", "0.0120"}));
    QTest::keyClick(set.Field("outlets"), Qt::Key_Backspace);
    EXPECT_TRUE(set.Refusal()->text().contains(QLatin1String("finish")) ||
                set.Refusal()->text().contains(QLatin1String("Finish")))
        << set.Refusal()->text().toStdString();
    EXPECT_EQ(set.TableModel()->rowCount(), 4);
}

TEST(DieSet, AMaterialPresetTypesItsValuesAndATypedValueMakesTheMaterialOurOwn) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    const auto presets = WireMaterials();
    ASSERT_GE(presets.size(), 5U);
    QComboBox* material = set.MaterialChoice();
    const std::string before = AllCells(*set.TableModel());
    material->setCurrentIndex(4);
    emit material->activated(4);
    EXPECT_EQ(set.Field("strengthCoefficient")->text().toStdString(),
              presets[4].StrengthCoefficient);
    EXPECT_EQ(set.CurrentSet().MaterialName, presets[4].Name);
    EXPECT_NE(AllCells(*set.TableModel()), before);

    TypeInto(set.Field("hardeningExponent"), QStringLiteral("0.3"));
    EXPECT_EQ(material->currentIndex(), material->count() - 1);
    EXPECT_EQ(set.CurrentSet().MaterialName, "");
    EXPECT_EQ(set.CurrentSet().HardeningExponent, "0.3");
}

TEST(DieSet, ADoubleClickedPassOpensItsDieInTheDesignedWindowAndCalculatesIt) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    MessageAnswerer answerer;
    DieSetWindow& set = *fixture->Set;
    MainWindow& window = *fixture->Window;
    TypeInto(set.Field("dies"), QStringLiteral("4"));
    // Millimetres in the designed window first: opening the pass must bring back the set's inches.
    window.Option(1)->click();
    ASSERT_EQ(window.Model().OptionIndex(), 1);

    QTableView* table = set.Table();
    const QModelIndex cell = set.TableModel()->index(2, 3);
    const QPoint at = table->visualRect(cell).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);

    const DieSetPass& pass = set.LastGood()->Passes[2];
    EXPECT_EQ(window.Model().OptionIndex(), 0);
    EXPECT_TRUE(window.Option(0)->isChecked());
    EXPECT_EQ(window.Field(ControlId::Text1_1)->text().toStdString(), pass.Die.Typed.FieldTexts[1]);
    EXPECT_EQ(window.Field(ControlId::Text1_0)->text().toStdString(), pass.Die.Typed.FieldTexts[0]);
    EXPECT_EQ(window.Field(ControlId::Text1_2)->text(), QStringLiteral("25.0"));
    // Calculate ran: the delta field shows this pass's delta, written as the window writes it.
    ASSERT_TRUE(window.Model().LastCalculation().has_value());
    EXPECT_EQ(window.Field(ControlId::Text3)->text().toStdString(),
              FormatNumber(*ParseNumber(NumberToText(pass.Die.Delta)), kMaskThreePlaces));
    EXPECT_EQ(window.Model().LastCalculation()->FieldTexts[1], pass.Die.Typed.FieldTexts[1]);
    EXPECT_TRUE(answerer.Texts().isEmpty()) << answerer.Texts().join('|').toStdString();
    // The set is untouched by it.
    EXPECT_EQ(set.TableModel()->rowCount(), 4);
}

TEST(DieSet, SaveAndOpenBringBackEveryInputAndABadFileChangesNothing) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    TypeInto(set.Field("friction"), QStringLiteral("0.05"));
    TypeInto(set.Field("finishSpeed"), QStringLiteral("12.5"));
    set.ScheduleChoice()->setCurrentIndex(static_cast<int>(ScheduleKind::Reduction));
    TypeInto(set.Field("percent"), QStringLiteral("15"));
    const DieSetFile saved = set.CurrentSet();
    const std::string savedCells = AllCells(*set.TableModel());

    fixture->Chosen = fixture->Folder.filePath(QStringLiteral("a & b.dieset"));
    QTest::keyClick(set.Field("friction"), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFileInfo::exists(fixture->Chosen));
    EXPECT_EQ(set.SetPath(), fixture->Chosen);
    EXPECT_TRUE(set.windowTitle().contains(QStringLiteral("a & b.dieset")));

    TypeInto(set.Field("friction"), QStringLiteral("0.1"));
    set.ScheduleChoice()->setCurrentIndex(static_cast<int>(ScheduleKind::Equal));
    MessageAnswerer discard; // the changed set is let go
    QTest::keyClick(set.Field("friction"), Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(SameAsSaved(set.CurrentSet(), saved));
    EXPECT_EQ(set.ScheduleChoice()->currentIndex(), static_cast<int>(ScheduleKind::Reduction));
    EXPECT_EQ(AllCells(*set.TableModel()), savedCells);
    EXPECT_TRUE(fixture->Messages.isEmpty()) << fixture->Messages.join('|').toStdString();

    // A damaged file: a message naming it, and the window as it was.
    const QString damaged = fixture->Folder.filePath(QStringLiteral("damaged.dieset"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "dieprofile-set", "version": 1,)");
    file.close();
    TypeInto(set.Field("friction"), QStringLiteral("0.07"));
    const DieSetFile typed = set.CurrentSet();
    fixture->Chosen = damaged;
    set.ChooseAndOpen();
    ASSERT_EQ(fixture->Messages.size(), 1);
    EXPECT_TRUE(fixture->Messages[0].contains(QStringLiteral("damaged.dieset")));
    EXPECT_EQ(set.CurrentSet(), typed);
    EXPECT_TRUE(set.SetPath().endsWith(QStringLiteral("a & b.dieset")));

    // A set opened as the command line opens it is saved beside its file by default.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(set.OpenSetFile(WriteSet(elsewhere, QStringLiteral("given.dieset"), saved)));
    QString proposed;
    set.SetFileChooser([&](DieSetWindow::FileDialog, const QString& folder) {
        proposed = folder;
        return QString();
    });
    set.ChooseAndSave();
    EXPECT_EQ(QDir(proposed), QDir(elsewhere.path()));
}

// A file the set's reading accepts is shown whole, and one that cannot be computed shows no
// schedule at all: neither the start-up set nor any other stands under its name.
TEST(DieSet, AnOpenedSetIsShownWholeOrWithNoScheduleAtAll) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    ASSERT_EQ(set.TableModel()->rowCount(), 6);

    DieSetFile many = CopperSix();
    many.Schedule = ScheduleKind::Diameters;
    const double start = 2.0;
    const double finish = 1.0;
    for (int i = 1; i <= 100; ++i) {
        const double outlet = start * std::pow(finish / start, i / 100.0);
        many.Outlets.push_back(i == 100 ? "1.0" : QString::number(outlet, 'f', 10).toStdString());
    }
    ASSERT_TRUE(set.OpenSetFile(WriteSet(fixture->Folder, QStringLiteral("many.dieset"), many)));
    EXPECT_EQ(set.CurrentSet().Outlets, many.Outlets);
    // The field holds them all, so an edit there or a save keeps the last outlet whole.
    EXPECT_EQ(SplitOutlets(set.Field("outlets")->text().toStdString()), many.Outlets);
    EXPECT_EQ(set.TableModel()->rowCount(), 100);
    EXPECT_FALSE(set.Refusal()->isVisible()) << set.Refusal()->text().toStdString();

    DieSetFile tooMany = CopperSix();
    tooMany.Dies = "101";
    ASSERT_TRUE(set.OpenSetFile(WriteSet(fixture->Folder, QStringLiteral("d101.dieset"), tooMany)));
    EXPECT_EQ(set.TableModel()->rowCount(), 0);
    EXPECT_TRUE(set.Plot()->Data().StressRatio.empty());
    EXPECT_TRUE(set.Refusal()->isVisible());
    EXPECT_TRUE(set.Refusal()->text().contains(QStringLiteral("100")))
        << set.Refusal()->text().toStdString();
    EXPECT_TRUE(fixture->Messages.isEmpty()) << fixture->Messages.join('|').toStdString();
}

// A changed set is not lost without a question: closing its window asks, and a fresh set started
// afterwards no longer carries the file's name in the title.
TEST(DieSet, ClosingAChangedSetAsksAndAFreshSetNamesNoFile) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    ASSERT_TRUE(
        set.OpenSetFile(WriteSet(fixture->Folder, QStringLiteral("copper.dieset"), CopperSix())));
    EXPECT_TRUE(set.windowTitle().contains(QStringLiteral("copper.dieset")));
    {
        MessageAnswerer answerer; // answers Discard
        set.close();
        EXPECT_TRUE(answerer.Texts().isEmpty()) << answerer.Texts().join('|').toStdString();
    }
    fixture->Window->ShowDieSet();
    ASSERT_TRUE(set.OpenSetFile(fixture->Folder.filePath(QStringLiteral("copper.dieset"))));
    TypeInto(set.Field("dies"), QStringLiteral("4"));
    {
        MessageAnswerer answerer;
        set.close();
        ASSERT_EQ(answerer.Texts().size(), 1);
        EXPECT_TRUE(answerer.Texts()[0].contains(QStringLiteral("\"copper.dieset\" has changed")))
            << answerer.Texts()[0].toStdString();
    }
    EXPECT_FALSE(set.isVisible());
    fixture->Window->ShowDieSet();
    EXPECT_EQ(set.windowTitle(), QStringLiteral("Die Set"));
    EXPECT_EQ(set.SetPath(), QString());
}

// The marks of each row of a set, as the marks column writes them.
TEST(DieSet, RowsAreMarkedWhereTheWireBreaksPassesTheCautionLevelTouchesTheBellOrTheDieFails) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    const struct {
        const char* Name;
        std::function<void(DieSetFile&)> Change;
        QString Caution;
        std::vector<const char*> Marks;
    } cases[] = {
        {"copper in six equal passes is sound",
         [](DieSetFile&) {},
         QStringLiteral("0.6"),
         {"", "", "", "", "", ""}},
        {"a low caution level marks the later passes",
         [](DieSetFile&) {},
         QStringLiteral("0.3"),
         {"", "caution", "caution", "caution", "caution", "caution"}},
        {"halving the rod in one pass breaks it, and the rod rests on the bell",
         [](DieSetFile& s) { s.Dies = "1"; },
         QStringLiteral("0.6"),
         {"breaks, bell"}},
        {"a die whose angle is not a number is not calculated",
         [](DieSetFile& s) {
             s.Dies = "2";
             s.DieFieldTexts[0] = "16x";
         },
         QStringLiteral("0.6"),
         {"not calculated", "not calculated"}},
    };
    for (const auto& c : cases) {
        DieSetFile changed = CopperSix();
        c.Change(changed);
        ASSERT_TRUE(
            set.OpenSetFile(WriteSet(fixture->Folder, QStringLiteral("marks.dieset"), changed)))
            << c.Name;
        TypeInto(set.Field("caution"), c.Caution);
        const SetTableModel& table = *set.TableModel();
        QStringList marks;
        for (int row = 0; row < table.rowCount(); ++row) {
            marks << table.Marks(row);
            const QVariant tip = table.data(table.index(row, 1), Qt::ToolTipRole);
            // A marked row says why in its tooltip, on every cell; a sound one has none.
            EXPECT_EQ(tip.isValid(), !table.Marks(row).isEmpty()) << c.Name << " row " << row;
        }
        QStringList expected;
        for (const char* mark : c.Marks) {
            expected << QString::fromUtf8(mark);
        }
        EXPECT_EQ(marks.join('|').toStdString(), expected.join('|').toStdString()) << c.Name;
        // Every mark and figure shows whole, also one that appeared without the passes being
        // counted anew: no column is narrower than what it holds.
        const QAbstractItemView& view = *set.Table();
        for (int column = 0; column < table.columnCount(); ++column) {
            EXPECT_LE(view.sizeHintForColumn(column), set.Table()->columnWidth(column))
                << c.Name << " column " << column;
        }
    }
    // The reason of a die that is not calculated is the designed window's own message.
    EXPECT_TRUE(set.TableModel()
                    ->data(set.TableModel()->index(0, 0), Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("Reduction Angle")));
    EXPECT_TRUE(fixture->Messages.isEmpty()) << fixture->Messages.join('|').toStdString();
}

// A pass's own profile, given in its dialog from the keyboard: only its row changes and is
// starred, a cancel changes nothing, a bad value marks its row, clearing brings back the set's die,
// and the file keeps what is left.
TEST(DieSet, APassProfileChangesThatPassOnlyAndIsSavedWithTheSet) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    ASSERT_TRUE(
        set.OpenSetFile(WriteSet(fixture->Folder, QStringLiteral("own.dieset"), CopperSix())));
    const SetTableModel& table = *set.TableModel();
    const auto rowCells = [&table](int row) {
        QStringList cells;
        for (int column = 1; column < table.columnCount(); ++column) {
            cells << table.Cell(row, column);
        }
        return cells;
    };
    std::vector<QStringList> base;
    for (int row = 0; row < table.rowCount(); ++row) {
        base.push_back(rowCells(row));
    }
    using Own = std::vector<std::pair<std::size_t, const char*>>; // field, text; the rest empty
    const std::optional<std::string> none;
    const PassOverride angle{"3", {"24", none, none, none, none, none, none, none}};
    const PassOverride bearing{"5", {none, "x", none, none, none, none, none, none}};
    const struct {
        const char* Name;
        int Row;
        Own Typed;
        bool Accept;
        QString Offered; // the reduction angle the dialog shows on opening
        std::vector<PassOverride> Overrides;
        QString Passes; // the pass column
        std::vector<int> Changed;
    } steps[] = {
        {"a wider angle for pass 3", 2, {{0, "24"}}, true, "", {angle}, "1|2|3*|4|5|6", {2}},
        {"a cancel keeps it", 2, {{0, "30"}}, false, "24", {angle}, "1|2|3*|4|5|6", {2}},
        {"a bearing that is no number",
         4,
         {{1, "x"}},
         true,
         "",
         {angle, bearing},
         "1|2|3*|4|5*|6",
         {2, 4}},
        {"pass 3 cleared", 2, {}, true, "24", {bearing}, "1|2|3|4|5*|6", {4}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Name);
        // The window comes back to the front after the last dialog, as on a desktop.
        set.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&set));
        QString offered;
        QString placeholder;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<PassProfileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            offered = dialog->Field(0)->text();
            placeholder = dialog->Field(0)->placeholderText();
            for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
                dialog->Field(i)->clear();
            }
            for (const auto& [field, text] : step.Typed) {
                dialog->Field(field)->setText(QString::fromUtf8(text));
            }
            step.Accept ? dialog->accept() : dialog->reject();
        });
        set.Table()->setFocus();
        set.Table()->selectRow(step.Row);
        QTest::keyClick(set.Table(), Qt::Key_F2);
        EXPECT_EQ(offered, step.Offered);
        EXPECT_EQ(placeholder, QStringLiteral("16"));
        EXPECT_EQ(set.CurrentSet().Overrides, step.Overrides);
        EXPECT_EQ(Column(table, 0).join('|'), step.Passes);
        for (int row = 0; row < table.rowCount(); ++row) {
            const bool changed = std::ranges::count(step.Changed, row) > 0;
            EXPECT_EQ(rowCells(row) != base[static_cast<std::size_t>(row)], changed) << row;
            // The star's tooltip names the pass's own fields.
            const QString tip = table.data(table.index(row, 0), Qt::ToolTipRole).toString();
            EXPECT_EQ(tip.contains(QStringLiteral("own profile")), changed) << row;
        }
        EXPECT_FALSE(set.Refusal()->isVisible()) << set.Refusal()->text().toStdString();
    }
    EXPECT_EQ(table.Cell(2, 8), QStringLiteral("8.00")); // the half angle of the set's 16°
    EXPECT_EQ(table.Marks(4), QStringLiteral("not calculated"));
    EXPECT_EQ(table.data(table.index(4, 0), Qt::ToolTipRole).toString(),
              QStringLiteral("* own profile: Bearing Length (%)\n"
                             "not calculated: Bearing Length (%) must be a number."));

    // A catalogue blank of the pass's own: the diamond's fields are not offered with it, and
    // what was typed in them is not kept; "BLANK" offers them again.
    std::vector<bool> offered;
    set.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&set));
    set.Table()->setFocus();
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<PassProfileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->Field(6)->setText(QStringLiteral("9"));
        for (const int choice : {0, 6, 26, 6}) {
            dialog->BlankChoice()->setCurrentIndex(choice);
            offered.push_back(dialog->Field(6)->isVisible() && dialog->Field(7)->isVisible());
        }
        dialog->accept();
    });
    set.Table()->selectRow(0);
    QTest::keyClick(set.Table(), Qt::Key_F2);
    EXPECT_EQ(offered, (std::vector<bool>{true, false, true, false}));
    const DieSetFile chosen = set.CurrentSet();
    const PassOverride* first = FindPassOverride(chosen, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Blank, std::string(CatalogueRows()[5]));
    EXPECT_EQ(first->FieldTexts, OwnFieldTexts{});
    EXPECT_EQ(table.Cell(0, 0), QStringLiteral("1*"));
    set.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&set));
    set.Table()->setFocus();
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<PassProfileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->BlankChoice()->setCurrentIndex(0); // the set's blank again: nothing of its own
        dialog->accept();
    });
    QTest::keyClick(set.Table(), Qt::Key_F2);
    EXPECT_EQ(FindPassOverride(set.CurrentSet(), 1), nullptr);

    fixture->Chosen = fixture->Folder.filePath(QStringLiteral("saved.dieset"));
    set.ChooseAndSave();
    const Expected<DieSetFile> saved = ReadDieSetFile(PathBytes(fixture->Chosen));
    ASSERT_TRUE(saved) << saved.Error().Message;
    EXPECT_EQ(saved->Overrides, std::vector<PassOverride>{bearing});
    EXPECT_TRUE(fixture->Messages.isEmpty()) << fixture->Messages.join('|').toStdString();
}

// The buttons beside the set's die reach the model: Die Profile… edits it in the pass's dialog,
// its diamond offered only with "BLANK"; From Window takes the designed window's die as it is now.
TEST(DieSet, DieProfileAndFromWindowChangeTheSetsOwnDie) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    std::vector<bool> offered; // the angle shown, then the diamond with "BLANK" and a row
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<PassProfileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        offered.push_back(dialog->Field(0)->text() == u"25.0" && dialog->Field(6)->isVisible());
        dialog->BlankChoice()->setCurrentIndex(5);
        offered.push_back(dialog->Field(6)->isVisible());
        dialog->Field(0)->setText(QStringLiteral("20"));
        dialog->accept();
    });
    QTest::mouseClick(set.findChild<QPushButton*>(QStringLiteral("dieProfile")), Qt::LeftButton);
    EXPECT_EQ(offered, (std::vector<bool>{true, false}));
    EXPECT_EQ(set.CurrentSet().DieFieldTexts[0], "20");
    TypeInto(*fixture->Window, 2, QStringLiteral("30"));
    QTest::mouseClick(set.findChild<QPushButton*>(QStringLiteral("fromWindow")), Qt::LeftButton);
    EXPECT_TRUE(set.findChild<QLabel*>(QStringLiteral("die"))->text().contains(u"30°"));
}

TEST(DieSet, ExportsTheCsvAndAPdfOfTheScheduleAndEveryDiesSheet) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    // Pass 2 has a bearing of its own, which the PDF's pages must not hide behind the set's.
    DieSetFile copper = CopperSix();
    const std::optional<std::string> none;
    copper.Overrides = {{"2", {none, "60", none, none, none, none, none, none}}};
    ASSERT_TRUE(
        set.OpenSetFile(WriteSet(fixture->Folder, QStringLiteral("copper.dieset"), copper)));

    fixture->Chosen = fixture->Folder.filePath(QStringLiteral("copper.csv"));
    set.ChooseAndExportCsv();
    QFile csv(fixture->Chosen);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0].toStdString(), DieSetCsvHeader());
    // The table shows the CSV's figures, rounded for reading to the places it shows.
    const auto rounded = [](const QString& figure, const QString& shown) {
        return QString::number(figure.toDouble(), 'f', shown.size() - shown.indexOf('.') - 1);
    };
    for (int row = 0; row < 6; ++row) {
        const QStringList fields = lines[row + 1].split(',');
        // The table shows the marks beside the pass: the CSV's column c is the table's c + 1.
        for (const int column : {2, 11}) {
            const QString shown = set.TableModel()->Cell(row, column + 1);
            ASSERT_TRUE(shown.contains('.')) << shown.toStdString();
            EXPECT_EQ(shown, rounded(fields[column], shown)) << "row " << row;
        }
    }

    fixture->Chosen = fixture->Folder.filePath(QStringLiteral("copper.pdf"));
    set.ChooseAndExportPdf();
    ASSERT_TRUE(QFileInfo::exists(fixture->Chosen));
    EXPECT_TRUE(fixture->Messages.isEmpty()) << fixture->Messages.join('|').toStdString();
    const ToolRun info = RunTool(QStringLiteral("pdfinfo"), {fixture->Chosen});
    if (info.ExitCode < 0) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    // The overview, the table, then a sheet per die.
    EXPECT_TRUE(info.Output.contains(QRegularExpression(QStringLiteral("Pages:\\s+8\\n"))))
        << info.Output.toStdString();
    const auto page = [&](int number) {
        return RunTool(QStringLiteral("pdftotext"),
                       {QStringLiteral("-f"), QString::number(number), QStringLiteral("-l"),
                        QString::number(number), fixture->Chosen, QStringLiteral("-")})
            .Output;
    };
    const QString overview = page(1);
    for (const char* words :
         {"Die set copper.dieset", "Start diameter", "Copper, annealed", "Area reduction, %",
          "Stress ratio", "caution (0.6)", "Temperature rise, K", "Reduction Angle",
          "Pass 2* of its own", "Bearing Length (%) 60"}) {
        EXPECT_TRUE(overview.contains(QLatin1String(words))) << words << "\n"
                                                             << overview.toStdString();
    }
    const QString table = page(2);
    for (const char* words : {"Drawing", "stress", "Meeting", "contact", "1.782", "1.000", "\n2*",
                              "2* die of its own: Bearing Length (%) 60"}) {
        EXPECT_TRUE(table.contains(QLatin1String(words))) << words << "\n" << table.toStdString();
    }
    for (int die = 1; die <= 6; ++die) {
        EXPECT_TRUE(page(die + 2).contains(QStringLiteral("copper.dieset pass %1 of 6").arg(die)))
            << die;
    }

    // A set that cannot be computed is refused and nothing is written.
    TypeInto(set.Field("friction"), QStringLiteral("x"));
    fixture->Chosen = fixture->Folder.filePath(QStringLiteral("refused.pdf"));
    set.ChooseAndExportPdf();
    EXPECT_FALSE(QFileInfo::exists(fixture->Chosen));
    ASSERT_EQ(fixture->Messages.size(), 1);
    EXPECT_TRUE(fixture->Messages[0].contains(QStringLiteral("refused.pdf")));
    EXPECT_TRUE(fixture->Messages[0].contains(QStringLiteral("Friction")));

    // The set's own file is never written over, whatever its name says.
    TypeInto(set.Field("friction"), QStringLiteral("0.08"));
    const QString own = fixture->Folder.filePath(QStringLiteral("own.pdf"));
    ASSERT_TRUE(set.SaveSetFile(own));
    QFile ownFile(own);
    ASSERT_TRUE(ownFile.open(QIODevice::ReadOnly));
    const QByteArray before = ownFile.readAll();
    ownFile.close();
    fixture->Chosen = own;
    set.ChooseAndExportPdf();
    ASSERT_EQ(fixture->Messages.size(), 2);
    EXPECT_TRUE(fixture->Messages[1].contains(QStringLiteral("itself")))
        << fixture->Messages[1].toStdString();
    ASSERT_TRUE(ownFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(ownFile.readAll(), before);
}

TEST(DieSet, PlotTicksAreRoundNumbersReachingTheTop) {
    // Each tick is a whole multiple of one round step (3 x 0.2 is 0.6000000000000001, as drawn).
    const struct {
        double Top;
        double Step;
        std::size_t Ticks;
    } cases[] = {
        {1.1, 0.5, 4}, {25.2, 10, 4}, {20, 5, 5}, {47.4 * 1.1, 20, 4}, {0, 0.2, 6},
    };
    for (const auto& c : cases) {
        const std::vector<double> ticks = AxisTicks(c.Top);
        ASSERT_EQ(ticks.size(), c.Ticks) << c.Top;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_EQ(ticks[i], static_cast<double>(i) * c.Step) << c.Top;
        }
    }
}

} // namespace
} // namespace dieprofile::test
