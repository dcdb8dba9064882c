// What only the Die Set window does: its widgets bound to the set's model, its shortcuts, its
// dialogs, the question before a changed set is let go, the table and the plot drawn and the PDF
// painted. What the model decides is tested on the model and in the driver's scenarios.
#include "window_harness.h"

#include "app/die_set_model.h"
#include "catalogue/catalogue.h"
#include "core/number_text.h"
#include "dieset/die_set.h"
#include "model/die_set_fixture.h"
#include "qt/design_commands.h"
#include "qt/die_set_window.h"
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
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

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

// Opens the die's dialog with `open` (F2 on a row, or a button) while the Die Set window is in
// front, as on a desktop after the last dialog, and lets `edit` fill in and close the dialog.
void InDieDialog(DieSetWindow& set, const std::function<void()>& open,
                 const std::function<void(PassProfileDialog&)>& edit) {
    set.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&set));
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<PassProfileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = true;
        edit(*dialog);
    });
    open();
    EXPECT_TRUE(shown);
}

// The Pass Profile dialog of the row, opened with F2 from the table.
void EditPassProfile(DieSetWindow& set, int row,
                     const std::function<void(PassProfileDialog&)>& edit) {
    InDieDialog(
        set,
        [&] {
            set.Table()->setFocus();
            set.Table()->selectRow(row);
            QTest::keyClick(set.Table(), Qt::Key_F2);
        },
        edit);
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
    EXPECT_EQ(set->Plot()->Data().StressRatio.size(), 6U);
    EXPECT_FALSE(set->Refusal()->isVisible()) << set->Refusal()->text().toStdString();
    EXPECT_EQ(DumpIgnoringFocus(window->Model()), before);
    EXPECT_TRUE(answerer.Texts().isEmpty()) << answerer.Texts().join('|').toStdString();
}

TEST(DieSet, TypingRecomputesAndARefusedFieldIsMarkedAndKeepsTheLastTable) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    set.activateWindow();
    TypeInto(set.Field("dies"), QStringLiteral("8"));
    ASSERT_EQ(set.TableModel()->rowCount(), 8);
    const std::string good = AllCells(*set.TableModel());

    // The refusal is shown and its field marked, one of the wire, the schedule and the drawing;
    // the table and plot stay as they were until the field is given back.
    const struct {
        const char* Key;
        QString Text;
        const char* Named;
    } refusals[] = {
        {"finishDiameter", QStringLiteral("x"), "Finish"},
        {"dies", QStringLiteral("0"), "Dies"},
        {"friction", QStringLiteral("0.6"), "Friction"},
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

    // The schedule's choice shows the outlets' field, and the table its outlets in their column.
    set.ScheduleChoice()->setCurrentIndex(static_cast<int>(ScheduleKind::Diameters));
    TypeInto(set.Field("outlets"), QStringLiteral("0.019, 0.016 0.014;0.012"));
    EXPECT_EQ(Column(*set.TableModel(), 3), (QStringList{"0.0190", "0.0160", "0.0140", "0.0120"}));
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

TEST(DieSet, ADoubleClickedPassIsShownInTheDesignedWindowCalculated) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    MessageAnswerer answerer;
    DieSetWindow& set = *fixture->Set;
    MainWindow& window = *fixture->Window;
    TypeInto(set.Field("dies"), QStringLiteral("4"));

    QTableView* table = set.Table();
    const QPoint at = table->visualRect(set.TableModel()->index(2, 3)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);

    const DieSetPass& pass = set.LastGood()->Passes[2];
    EXPECT_EQ(window.Field(ControlId::Text1_1)->text().toStdString(), pass.Die.Typed.FieldTexts[1]);
    EXPECT_EQ(window.Field(ControlId::Text1_0)->text().toStdString(), pass.Die.Typed.FieldTexts[0]);
    // Calculate ran: the delta field shows this pass's delta, written as the window writes it.
    EXPECT_EQ(window.Field(ControlId::Text3)->text().toStdString(),
              FormatNumber(*ParseNumber(NumberToText(pass.Die.Delta)), kMaskThreePlaces));
    EXPECT_TRUE(answerer.Texts().isEmpty()) << answerer.Texts().join('|').toStdString();
    EXPECT_EQ(set.TableModel()->rowCount(), 4);
}

// Ctrl+S and Ctrl+O from a field, through the file dialogs; the opened set fills every widget.
TEST(DieSet, SaveAndOpenFromTheKeyboardBringBackEveryInput) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    TypeInto(set.Field("friction"), QStringLiteral("0.05"));
    set.ScheduleChoice()->setCurrentIndex(static_cast<int>(ScheduleKind::Reduction));
    TypeInto(set.Field("percent"), QStringLiteral("15"));
    const DieSetFile saved = set.CurrentSet();
    const std::string savedCells = AllCells(*set.TableModel());

    fixture->Chosen = fixture->Folder.filePath(QStringLiteral("a & b.dieset"));
    QTest::keyClick(set.Field("friction"), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFileInfo::exists(fixture->Chosen));
    EXPECT_TRUE(set.windowTitle().contains(QStringLiteral("a & b.dieset")));

    TypeInto(set.Field("friction"), QStringLiteral("0.1"));
    set.ScheduleChoice()->setCurrentIndex(static_cast<int>(ScheduleKind::Equal));
    {
        MessageAnswerer discard; // the changed set is let go
        QTest::keyClick(set.Field("friction"), Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(discard.Texts().size(), 1);
    }
    EXPECT_TRUE(SameAsSaved(set.CurrentSet(), saved));
    EXPECT_EQ(set.Field("friction")->text(), QStringLiteral("0.05"));
    EXPECT_EQ(set.ScheduleChoice()->currentIndex(), static_cast<int>(ScheduleKind::Reduction));
    EXPECT_TRUE(set.Field("percent")->isVisible());
    EXPECT_EQ(AllCells(*set.TableModel()), savedCells);
    EXPECT_TRUE(fixture->Messages.isEmpty()) << fixture->Messages.join('|').toStdString();

    // A set opened as the command line opens it: the dialog starts in its folder.
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

// A set's every outlet is shown in its field, so an edit or a save keeps the last one whole; a set
// that cannot be computed shows no table and no plot, never those of the set before it.
TEST(DieSet, AnOpenedSetIsShownWholeOrWithNoScheduleAtAll) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    ASSERT_EQ(set.TableModel()->rowCount(), 6);

    DieSetFile many = testing::CopperSet();
    many.Schedule = ScheduleKind::Diameters;
    for (int i = 1; i <= 100; ++i) {
        const double outlet = 2.0 * std::pow(0.5, i / 100.0);
        many.Outlets.push_back(i == 100 ? "1.0" : QString::number(outlet, 'f', 10).toStdString());
    }
    set.ShowSet(many);
    EXPECT_EQ(SplitOutlets(set.Field("outlets")->text().toStdString()), many.Outlets);
    EXPECT_EQ(set.TableModel()->rowCount(), 100);

    DieSetFile tooMany = testing::CopperSet();
    tooMany.Dies = "101";
    set.ShowSet(tooMany);
    EXPECT_EQ(set.TableModel()->rowCount(), 0);
    EXPECT_TRUE(set.Plot()->Data().StressRatio.empty());
    EXPECT_TRUE(set.Refusal()->isVisible());
}

// A changed set is not lost without a question: closing its window asks, and a fresh set started
// afterwards no longer carries the file's name in the title.
TEST(DieSet, ClosingAChangedSetAsksAndAFreshSetNamesNoFile) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    ASSERT_TRUE(set.OpenSetFile(
        WriteSet(fixture->Folder, QStringLiteral("copper.dieset"), testing::CopperSet())));
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

// Marks that appear as the caution level is typed, the passes not counted anew, show whole (a
// column once kept its width and cut them to "cau…"), and a marked row says why on every cell.
TEST(DieSet, MarksAppearingAsTheCautionIsTypedShowWholeWithTheirReasons) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    set.ShowSet(testing::CopperSet());
    TypeInto(set.Field("caution"), QStringLiteral("0.6"));
    TypeInto(set.Field("caution"), QStringLiteral("0.3"));
    const SetTableModel& table = *set.TableModel();
    QStringList marks;
    for (int row = 0; row < table.rowCount(); ++row) {
        marks << table.Marks(row);
        const QVariant tip = table.data(table.index(row, 1), Qt::ToolTipRole);
        EXPECT_EQ(tip.isValid(), !table.Marks(row).isEmpty()) << "row " << row;
    }
    EXPECT_EQ(marks.join('|'), QStringLiteral("|caution|caution|caution|caution|caution"));
    const QAbstractItemView& view = *set.Table();
    for (int column = 0; column < table.columnCount(); ++column) {
        EXPECT_LE(view.sizeHintForColumn(column), set.Table()->columnWidth(column)) << column;
    }
    // The level is the user's, kept for the next window: the other tests expect 0.6.
    TypeInto(set.Field("caution"), QStringLiteral("0.6"));
    EXPECT_TRUE(fixture->Messages.isEmpty()) << fixture->Messages.join('|').toStdString();
}

// F2 on a row opens its Pass Profile dialog with its own values and the set's as the hints; what
// is accepted reaches that pass and stars its row, a cancel changes nothing, and the set's blank
// chosen again leaves the pass nothing of its own.
TEST(DieSet, F2GivesThePassItsOwnProfileInItsDialog) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    set.ShowSet(testing::CopperSet());
    const SetTableModel& table = *set.TableModel();
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
    } steps[] = {
        {"a wider angle for pass 3", 2, {{0, "24"}}, true, "", {angle}, "1|2|3*|4|5|6"},
        {"a cancel keeps it", 2, {{0, "30"}}, false, "24", {angle}, "1|2|3*|4|5|6"},
        {"a bearing that is no number", 4, {{1, "x"}}, true, "", {angle, bearing}, "1|2|3*|4|5*|6"},
        {"pass 3 cleared", 2, {}, true, "24", {bearing}, "1|2|3|4|5*|6"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Name);
        QString offered;
        QString placeholder;
        EditPassProfile(set, step.Row, [&](PassProfileDialog& dialog) {
            offered = dialog.Field(0)->text();
            placeholder = dialog.Field(0)->placeholderText();
            for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
                dialog.Field(i)->clear();
            }
            for (const auto& [field, text] : step.Typed) {
                dialog.Field(field)->setText(QString::fromUtf8(text));
            }
            step.Accept ? dialog.accept() : dialog.reject();
        });
        EXPECT_EQ(offered, step.Offered);
        EXPECT_EQ(placeholder, QStringLiteral("16"));
        EXPECT_EQ(set.CurrentSet().Overrides, step.Overrides);
        EXPECT_EQ(Column(table, 0).join('|'), step.Passes);
        EXPECT_FALSE(set.Refusal()->isVisible()) << set.Refusal()->text().toStdString();
    }
    EXPECT_EQ(table.data(table.index(4, 0), Qt::ToolTipRole).toString(),
              QStringLiteral("* own profile: Bearing Length (%)\n"
                             "not calculated: Bearing Length (%) must be a number."));

    // A catalogue blank of the pass's own: the diamond's fields are not offered with it, and
    // what was typed in them is not kept; "BLANK" offers them again.
    std::vector<bool> offered;
    EditPassProfile(set, 0, [&](PassProfileDialog& dialog) {
        dialog.Field(6)->setText(QStringLiteral("9"));
        for (const int choice : {0, 6, 26, 6}) {
            dialog.BlankChoice()->setCurrentIndex(choice);
            offered.push_back(dialog.Field(6)->isVisible() && dialog.Field(7)->isVisible());
        }
        dialog.accept();
    });
    EXPECT_EQ(offered, (std::vector<bool>{true, false, true, false}));
    const DieSetFile chosen = set.CurrentSet();
    const PassOverride* first = FindPassOverride(chosen, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Blank, std::string(CatalogueRows()[5]));
    EXPECT_EQ(first->FieldTexts, OwnFieldTexts{});
    EXPECT_EQ(table.Cell(0, 0), QStringLiteral("1*"));
    EditPassProfile(set, 0, [](PassProfileDialog& dialog) {
        dialog.BlankChoice()->setCurrentIndex(0); // the set's blank again: nothing of its own
        dialog.accept();
    });
    EXPECT_EQ(FindPassOverride(set.CurrentSet(), 1), nullptr);
    EXPECT_TRUE(fixture->Messages.isEmpty()) << fixture->Messages.join('|').toStdString();
}

// The buttons beside the set's die reach the model: Die Profile… edits it in the pass's dialog,
// its diamond offered only with "BLANK"; From Window takes the designed window's die as it is now.
TEST(DieSet, DieProfileAndFromWindowChangeTheSetsOwnDie) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    std::vector<bool> offered; // the angle shown, then the diamond with "BLANK" and a row
    InDieDialog(
        set,
        [&] {
            QTest::mouseClick(set.findChild<QPushButton*>(QStringLiteral("dieProfile")),
                              Qt::LeftButton);
        },
        [&](PassProfileDialog& dialog) {
            offered.push_back(dialog.Field(0)->text() == u"25.0" && dialog.Field(6)->isVisible());
            dialog.BlankChoice()->setCurrentIndex(5);
            offered.push_back(dialog.Field(6)->isVisible());
            dialog.Field(0)->setText(QStringLiteral("20"));
            dialog.accept();
        });
    EXPECT_EQ(offered, (std::vector<bool>{true, false}));
    EXPECT_EQ(set.CurrentSet().DieFieldTexts[0], "20");
    TypeInto(*fixture->Window, 2, QStringLiteral("30"));
    QTest::mouseClick(set.findChild<QPushButton*>(QStringLiteral("fromWindow")), Qt::LeftButton);
    EXPECT_TRUE(set.findChild<QLabel*>(QStringLiteral("die"))->text().contains(u"30°"));
}

// The exports through their dialogs: the CSV, and the PDF painted by the window's painters, the
// overview, the table and a sheet per die, a pass's own bearing shown where it is used.
TEST(DieSet, ExportsTheCsvAndAPdfOfTheScheduleAndEveryDiesSheet) {
    const auto fixture = OpenSetWindow();
    ASSERT_NE(fixture->Set, nullptr);
    DieSetWindow& set = *fixture->Set;
    DieSetFile copper = testing::CopperSet();
    const std::optional<std::string> none;
    copper.Overrides = {{"2", {none, "60", none, none, none, none, none, none}}};
    ASSERT_TRUE(
        set.OpenSetFile(WriteSet(fixture->Folder, QStringLiteral("copper.dieset"), copper)));

    fixture->Chosen = fixture->Folder.filePath(QStringLiteral("copper.csv"));
    set.ChooseAndExportCsv();
    const QStringList lines =
        QString::fromUtf8(Bytes(fixture->Chosen)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0].toStdString(), DieSetCsvHeader());

    fixture->Chosen = fixture->Folder.filePath(QStringLiteral("copper.pdf"));
    set.ChooseAndExportPdf();
    ASSERT_TRUE(QFileInfo::exists(fixture->Chosen));
    EXPECT_TRUE(fixture->Messages.isEmpty()) << fixture->Messages.join('|').toStdString();
    const ToolRun info = RunTool(QStringLiteral("pdfinfo"), {fixture->Chosen});
    if (info.ExitCode < 0) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    EXPECT_TRUE(info.Output.contains(QRegularExpression(QStringLiteral("Pages:\\s+8\\n"))))
        << info.Output.toStdString();
    const auto page = [&](int number) {
        return RunTool(QStringLiteral("pdftotext"),
                       {QStringLiteral("-f"), QString::number(number), QStringLiteral("-l"),
                        QString::number(number), fixture->Chosen, QStringLiteral("-")})
            .Output;
    };
    // The window's caution level and the set's name reach the pages the model laid out.
    const QString overview = page(1);
    for (const char* words : {"Die set copper.dieset", "caution (0.6)", "Pass 2* of its own"}) {
        EXPECT_TRUE(overview.contains(QLatin1String(words))) << words << "\n"
                                                             << overview.toStdString();
    }
    EXPECT_TRUE(page(2).contains(QLatin1String("2* die of its own: Bearing Length (%) 60")));
    for (int die = 1; die <= 6; ++die) {
        EXPECT_TRUE(page(die + 2).contains(QStringLiteral("copper.dieset pass %1 of 6").arg(die)))
            << die;
    }
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
