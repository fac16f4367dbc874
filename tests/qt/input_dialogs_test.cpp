// The input dialogs as a user meets them: the "Initialize Stand" sheet and "Stand Projection" filled through
// their widgets, OK refused with the message and the focus in the refused box (on the page that refused), OK
// accepted with the values, Cancel, the enabling rules reaching the widgets, and Browse loading a tree list
// through the application's tree list window.

#include "app_sandbox.h"
#include "modal_dialogs.h"
#include "model/input1.h"
#include "qt/application.h"
#include "qt/form_binder.h"
#include "qt/initialize_stand_sheet.h"
#include "qt/main_window.h"
#include "qt/stand_projection_dialog.h"
#include "qt/tree_list_dialogs_qt.h"
#include "qt/tree_list_window.h"
#include "results/document.h"
#include "support/recording_ui.h"
#include "treelist/tree_list_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>

using namespace grovex;

namespace {

namespace pi = plantation;
namespace vu = volumeunits;
namespace sp = standprojection;

// Pictures go to GROVEX_SNAPSHOT_DIR when it is set, to be looked at.
void keepSnapshot(QWidget& widget, const QString& name) {
    const QString dir = qEnvironmentVariable("GROVEX_SNAPSHOT_DIR");
    if (!dir.isEmpty()) {
        widget.grab().save(dir + QLatin1Char('/') + name);
    }
}

QLineEdit* box(QWidget* widget) {
    return qobject_cast<QLineEdit*>(widget);
}

QAbstractButton* button(QWidget* widget) {
    return qobject_cast<QAbstractButton*>(widget);
}

// Replaces the box's text by typing, as a user does after selecting it.
void typeInto(QWidget* widget, const QString& text) {
    QLineEdit* edit = box(widget);
    QVERIFY(edit != nullptr);
    edit->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Delete);
    } else {
        QTest::keyClicks(edit, text);
    }
}

void pressOk(QDialog& dialog) {
    dialog.findChild<QPushButton*>(controlName(1))->click();
}

// The enabled state of each control in `ids`, as the widgets show it.
QList<int> enabledAmong(const std::function<QWidget*(int)>& control, std::initializer_list<int> ids) {
    QList<int> on;
    for (const int id : ids) {
        if (control(id)->isEnabled()) {
            on.append(id);
        }
    }
    return on;
}

// A simulation grown from a new plantation with the default inputs up to `age`.
std::unique_ptr<CGROVEXDoc> grownStand(int age) {
    auto doc = std::make_unique<CGROVEXDoc>();
    Input1 input;
    input.target = static_cast<float>(age);
    doc->model.ResetModel();
    WriteInput1(doc->model, input);
    if (!StartRun(doc->model)) {
        return nullptr;
    }
    doc->model.ProjectToTarget();
    return doc;
}

constexpr std::initializer_list<int> kPlantationSwitched = {
    pi::kExistingAge,  pi::kBasalArea,       pi::kTreesSurviving, pi::kTreeListExists, pi::kBrowse,
    pi::kTreesPlanted, pi::kPercentSurvival, pi::kPoorlyDrained,  pi::kHardwood,       pi::kSiteIndex};
constexpr std::initializer_list<int> kThinningControls = {sp::kRowThin,     sp::kLowThin,  sp::kRowAndLowThin,
                                                          sp::kRowInterval, sp::kDiameter, sp::kBasalArea,
                                                          sp::kDbhBelow,    sp::kDbhAbove, sp::kResidualBasalArea};

// A form of two boxes, for a dialog that builds only the first.
class TwoBoxForm : public DialogForm {
public:
    static constexpr int kBuilt = 101;
    static constexpr int kForgotten = 102;
    TwoBoxForm() {
        addEdit(kBuilt);
        addEdit(kForgotten);
    }
    std::string caption() const override { return "Two boxes"; }
};

void expectEveryControlBound(const DialogForm& form, const FormBinder& binder) {
    for (const int id : form.controlIds()) {
        QVERIFY2(binder.widget(id) != nullptr, qPrintable(controlName(id)));
    }
}

} // namespace

class InputDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void sheetOpensOnTheFirstPageWithAProposedPlantation();
    void sheetOkEndsOnThePageThatRefused();
    void sheetWidgetsFollowTheEnablingRules();
    void runningTheSheetRemembersTheAcceptedPages();
    void browseLoadsATreeListThroughTheTreeListWindow();
    void standProjectionOpensUntreatedAndChecksTheThinning();
    void standProjectionOfAnOldStandOffersOnlyAnAge();
    void everyFormControlHasItsWidget();
    void formControlWithoutAWidgetIsAProgrammingError();
};

void InputDialogsTest::sheetOpensOnTheFirstPageWithAProposedPlantation() {
    fakes::RecordingUi ui;
    propsheet sheet;
    InitializeStandSheet dialog(sheet, ui);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Initialize Stand"));
    QCOMPARE(dialog.tabs()->count(), 2);
    QCOMPARE(dialog.tabs()->tabText(0), QStringLiteral("Plantation Information"));
    QCOMPARE(dialog.tabs()->tabText(1), QStringLiteral("Volume Output Units"));
    QCOMPARE(dialog.tabs()->currentIndex(), 0);
    // OK and Cancel only: no Apply, no Help.
    const QList<QAbstractButton*> buttons = dialog.findChild<QDialogButtonBox*>()->buttons();
    QCOMPARE(buttons.size(), 2);

    // A bare-land plantation of site 60, 800 trees planted, 90 percent survival, to age 25 in a 60-year
    // rotation; every box can be typed into; nothing checked on the first page.
    const auto control = [&dialog](int id) { return dialog.control(id); };
    const QMap<int, QString> proposed = {{pi::kRotation, "60"},
                                         {pi::kSiteIndex, "60"},
                                         {pi::kTreesPlanted, "800"},
                                         {pi::kPercentSurvival, "90"},
                                         {pi::kFirstTarget, "25"}};
    for (int id : sheet.plantationPage.controlIds()) {
        if (QLineEdit* edit = box(control(id))) {
            QCOMPARE(edit->text(), proposed.value(id));
            QVERIFY(!edit->isReadOnly());
        } else if (id != pi::kBrowse) {
            QVERIFY(!button(control(id))->isChecked());
        }
    }
    // Cubic feet outside bark, from DBH class 7 to a 6-inch top.
    QVERIFY(button(control(vu::kCubicFeetButton))->isChecked());
    QVERIFY(!button(control(vu::kInsideBarkButton))->isChecked());
    QVERIFY(button(control(vu::kOutsideBarkButton))->isChecked());
    QVERIFY(!button(control(vu::kInternationalButton))->isChecked());
    QCOMPARE(box(control(vu::kMinDbhClass))->text(), QStringLiteral("7"));
    QCOMPARE(box(control(vu::kTopDiameter))->text(), QStringLiteral("6"));
    QCOMPARE(box(control(pi::kTitle))->maxLength(), 79);
    QCOMPARE(box(control(vu::kEquationName[2]))->maxLength(), 15);

    keepSnapshot(dialog, QStringLiteral("initialize_stand_plantation.png"));
    dialog.tabs()->setCurrentIndex(1);
    keepSnapshot(dialog, QStringLiteral("initialize_stand_volume_units.png"));
}

void InputDialogsTest::sheetOkEndsOnThePageThatRefused() {
    fakes::RecordingUi ui;
    propsheet sheet;
    InitializeStandSheet dialog(sheet, ui);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const auto control = [&dialog](int id) { return dialog.control(id); };

    typeInto(control(pi::kTitle), QStringLiteral("Upland plantation"));
    typeInto(control(pi::kRotation), QStringLiteral("40"));
    typeInto(control(pi::kSiteIndex), QStringLiteral("70"));
    typeInto(control(pi::kTreesPlanted), QStringLiteral("650"));
    typeInto(control(pi::kPercentSurvival), QStringLiteral("85"));
    typeInto(control(pi::kFirstTarget), QString());
    dialog.tabs()->setCurrentIndex(1);
    button(control(vu::kInsideBarkButton))->click();
    typeInto(control(vu::kMinDbhClass), QStringLiteral("6"));
    typeInto(control(vu::kTopDiameter), QStringLiteral("4"));

    // No output target: the sheet goes back to the first page, the focus in the age target.
    pressOk(dialog);
    QVERIFY(dialog.isVisible());
    QCOMPARE(ui.texts(), std::vector<std::string>{"Please enter one and only one Output Target parameter."});
    QCOMPARE(ui.messages().back().buttons, Buttons::Ok);
    QCOMPARE(dialog.tabs()->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), control(pi::kFirstTarget));

    // Two targets: the same refusal.
    typeInto(control(pi::kFirstTarget), QStringLiteral("30"));
    typeInto(control(pi::kFirstTarget + 1), QStringLiteral("100"));
    pressOk(dialog);
    QCOMPARE(ui.texts().back(), std::string("Please enter one and only one Output Target parameter."));

    // An age below the youngest target: its range, its text selected.
    typeInto(control(pi::kFirstTarget + 1), QString());
    typeInto(control(pi::kFirstTarget), QStringLiteral("5"));
    QTest::mouseClick(control(pi::kTitle), Qt::LeftButton);
    pressOk(dialog);
    QCOMPARE(ui.texts().back(), std::string("Please enter an integer from 8 to 40"));
    QCOMPARE(QApplication::focusWidget(), control(pi::kFirstTarget));
    QCOMPARE(box(control(pi::kFirstTarget))->selectedText(), QStringLiteral("5"));

    // Fixed there, the second page refuses from the first: the sheet moves to it.
    typeInto(control(pi::kFirstTarget), QStringLiteral("30"));
    dialog.tabs()->setCurrentIndex(1);
    typeInto(control(vu::kTopDiameter), QStringLiteral("6"));
    dialog.tabs()->setCurrentIndex(0);
    pressOk(dialog);
    QCOMPARE(ui.texts().back(), std::string("Please enter a real number from 0 to 6"));
    QCOMPARE(dialog.tabs()->currentIndex(), 1);
    QCOMPARE(QApplication::focusWidget(), control(vu::kTopDiameter));
    QCOMPARE(box(control(vu::kTopDiameter))->selectedText(), QStringLiteral("6"));

    typeInto(control(vu::kTopDiameter), QStringLiteral("5.9"));
    pressOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(ui.texts().size(), size_t{4});

    const Input1 input = sheet.input1();
    QCOMPARE(input.title, std::string("Upland plantation"));
    QCOMPARE(input.nyears, 40);
    QVERIFY(!input.qexist);
    QCOMPARE(input.site, 70.0f);
    QCOMPARE(input.tp, 650.0f);
    QCOMPARE(input.psPercent, 85.0f);
    QCOMPARE(input.hdwdPercent, -1.0f);
    QCOMPARE(input.pcrit, int(kCriterionAge));
    QCOMPARE(input.target, 30.0f);
    QCOMPARE(input.vtype, int(kCubicFeet));
    QCOMPARE(input.voltyp, 1);
    QCOMPARE(input.minDbhClass, 6);
    QCOMPARE(input.voltop, 5.9f);
}

void InputDialogsTest::sheetWidgetsFollowTheEnablingRules() {
    fakes::RecordingUi ui;
    propsheet sheet;
    InitializeStandSheet dialog(sheet, ui);
    const auto control = [&dialog](int id) { return dialog.control(id); };

    // A new stand: the planting data, not the existing stand's.
    QCOMPARE(enabledAmong(control, kPlantationSwitched),
             (QList<int>{pi::kTreesPlanted, pi::kPercentSurvival, pi::kPoorlyDrained, pi::kHardwood, pi::kSiteIndex}));

    // An existing stand; drainage matters for a stand younger than 8 only, as the age is typed (none yet).
    button(control(pi::kStandExists))->click();
    QCOMPARE(enabledAmong(control, kPlantationSwitched),
             (QList<int>{pi::kExistingAge, pi::kBasalArea, pi::kTreesSurviving, pi::kTreeListExists, pi::kPoorlyDrained,
                         pi::kHardwood, pi::kSiteIndex}));
    typeInto(control(pi::kExistingAge), QStringLiteral("12"));
    QVERIFY(!control(pi::kPoorlyDrained)->isEnabled());
    typeInto(control(pi::kExistingAge), QStringLiteral("5"));
    QVERIFY(control(pi::kPoorlyDrained)->isEnabled());
    typeInto(control(pi::kExistingAge), QStringLiteral("12"));
    QVERIFY(!control(pi::kPoorlyDrained)->isEnabled());

    // A stand from a tree list: only the list and Browse; the existing stand's numbers are not asked.
    button(control(pi::kTreeListExists))->setChecked(true);
    QCOMPARE(enabledAmong(control, kPlantationSwitched), (QList<int>{pi::kTreeListExists, pi::kBrowse}));
    keepSnapshot(dialog, QStringLiteral("initialize_stand_tree_list.png"));

    // Back to a new stand: the tree list box is disabled but keeps its check mark.
    button(control(pi::kStandExists))->click();
    QVERIFY(!control(pi::kTreeListExists)->isEnabled());
    QVERIFY(button(control(pi::kTreeListExists))->isChecked());

    // Units: custom equations enable their twelve boxes and nothing of cubic feet or board feet.
    dialog.tabs()->setCurrentIndex(1);
    const std::initializer_list<int> unitsSwitched = {
        vu::kInsideBarkButton, vu::kOutsideBarkButton,   vu::kMinDbhClass,
        vu::kTopDiameter,      vu::kInternationalButton, vu::kDoyleButton,
        vu::kScribnerButton,   vu::kEquationName[1],     vu::kEquationMinDbh[2]};
    QCOMPARE(enabledAmong(control, unitsSwitched),
             (QList<int>{vu::kInsideBarkButton, vu::kOutsideBarkButton, vu::kMinDbhClass, vu::kTopDiameter}));
    button(control(vu::kCustomUnitsButton))->click();
    QCOMPARE(enabledAmong(control, unitsSwitched), (QList<int>{vu::kEquationName[1], vu::kEquationMinDbh[2]}));
    typeInto(control(vu::kEquationName[1]), QStringLiteral("Pulp tons"));
    keepSnapshot(dialog, QStringLiteral("initialize_stand_custom_units.png"));

    // Cords and board feet; the custom boxes keep their text. The board-foot rule is a group of its own.
    button(control(vu::kCordsButton))->click();
    button(control(vu::kDoyleButton))->click();
    QCOMPARE(enabledAmong(control, unitsSwitched),
             (QList<int>{vu::kMinDbhClass, vu::kInternationalButton, vu::kDoyleButton, vu::kScribnerButton}));
    QVERIFY(button(control(vu::kCordsButton))->isChecked());
    QVERIFY(!button(control(vu::kCustomUnitsButton))->isChecked());
    QCOMPARE(box(control(vu::kEquationName[1]))->text(), QStringLiteral("Pulp tons"));
    QVERIFY(sheet.volumeUnitsPage.checked(vu::kDoyleButton));
    QVERIFY(sheet.volumeUnitsPage.checked(vu::kCordsButton));
}

void InputDialogsTest::runningTheSheetRemembersTheAcceptedPages() {
    fakes::RecordingUi ui;
    CGROVEXDoc doc;

    whenDialogShows<InitializeStandSheet>([](InitializeStandSheet& dialog) {
        const auto control = [&dialog](int id) { return dialog.control(id); };
        button(control(pi::kStandExists))->click();
        typeInto(control(pi::kRotation), QStringLiteral("50"));
        typeInto(control(pi::kSiteIndex), QStringLiteral("65"));
        typeInto(control(pi::kTreesSurviving), QStringLiteral("600"));
        typeInto(control(pi::kExistingAge), QStringLiteral("10"));
        typeInto(control(pi::kHardwood), QStringLiteral("15"));
        typeInto(control(pi::kFirstTarget), QString());                // the proposed age
        typeInto(control(pi::kFirstTarget + 3), QStringLiteral("60")); // dominant height
        dialog.tabs()->setCurrentIndex(1);
        button(control(vu::kCordsButton))->click();
        button(control(vu::kScribnerButton))->click();
        typeInto(control(vu::kMinDbhClass), QStringLiteral("9"));
        pressOk(dialog);
    });
    const std::optional<InitializeStandValues> accepted = runInitializeStand(nullptr, doc, ui);
    QVERIFY(accepted.has_value());
    QVERIFY(ui.texts().empty());
    QVERIFY(accepted->plantation.qexist);
    QCOMPARE(accepted->input1.site, 65.0f);
    QCOMPARE(accepted->input1.ts, 600.0f);
    QCOMPARE(accepted->input1.exage, 10);
    QCOMPARE(accepted->input1.hdwdPercent, 15.0f);
    QCOMPARE(accepted->input1.pcrit, int(kCriterionDominantHeight));
    QCOMPARE(accepted->input1.target, 60.0f);
    QCOMPARE(accepted->input1.vtype, int(kCordsAndBoardFeet));
    QCOMPARE(accepted->input1.voltyp, 3);
    QCOMPARE(accepted->input1.minDbhClass, 9);
    QCOMPARE(doc.plantationPage.nyears, 50);
    QCOMPARE(doc.volumeUnitsPage.boardFootRule, 3);
    QVERIFY(!doc.isModified());

    // Reopened: the accepted values again; Cancel keeps what the document remembers.
    const PlantationPageMembers remembered = doc.plantationPage;
    whenDialogShows<InitializeStandSheet>([](InitializeStandSheet& dialog) {
        const auto control = [&dialog](int id) { return dialog.control(id); };
        QVERIFY(button(control(pi::kStandExists))->isChecked());
        QCOMPARE(box(control(pi::kRotation))->text(), QStringLiteral("50"));
        QCOMPARE(box(control(pi::kTreesSurviving))->text(), QStringLiteral("600.00"));
        QCOMPARE(box(control(pi::kFirstTarget + 3))->text(), QStringLiteral("60.000000"));
        QCOMPARE(box(control(pi::kSiteIndex))->text(), QStringLiteral("65.000000"));
        QCOMPARE(box(control(pi::kTreesPlanted))->text(), QStringLiteral("800.000000")); // not asked
        QVERIFY(button(control(vu::kScribnerButton))->isChecked());
        typeInto(control(pi::kRotation), QStringLiteral("90"));
        dialog.findChild<QPushButton*>(controlName(2))->click();
    });
    QVERIFY(!runInitializeStand(nullptr, doc, ui).has_value());
    QCOMPARE(doc.plantationPage.nyears, remembered.nyears);
    QCOMPARE(doc.plantationPage.target, remembered.target);
}

void InputDialogsTest::browseLoadsATreeListThroughTheTreeListWindow() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("plot.dat"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("1Tr 7  1.00 22 -1  -1 0  0 -1.0 -1.0 0 0.0\n"
               "2  101  9.4 58.21\n"
               "2  102 11.0 61.52\n");
    file.close();

    fakes::RecordingUi* recording = nullptr;
    Application app(fakes::recordingServices(dir.filePath(QStringLiteral("settings.ini")), recording));
    fakes::RecordingUi& ui = *recording;
    QVERIFY(app.start({}));

    // The user closed the tree list window: Browse makes a new one, hidden.
    app.treeListWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(app.treeListWindow() == nullptr);

    propsheet sheet;
    sheet.plantationPage.setBrowseAction(treeListBrowser(app));
    InitializeStandSheet dialog(sheet, ui, &app.mainWindow());
    const auto control = [&dialog](int id) { return dialog.control(id); };
    button(control(pi::kStandExists))->click();
    button(control(pi::kTreeListExists))->click();

    // Cancelled file dialog: no list, so "Tree List Exists" is cleared and Browse disabled with it.
    button(control(pi::kBrowse))->click();
    QVERIFY(app.treeListWindow() != nullptr);
    QVERIFY(app.treeListWindow()->isHidden());
    QCOMPARE(ui.fileDialogs().size(), size_t{1});
    QCOMPARE(ui.fileDialogs().front().defaultExtension, std::string(".dat"));
    QVERIFY(!button(control(pi::kTreeListExists))->isChecked());
    QVERIFY(!control(pi::kBrowse)->isEnabled());
    QVERIFY(control(pi::kExistingAge)->isEnabled());

    button(control(pi::kTreeListExists))->click();
    ui.queueFileName(path.toStdString());
    button(control(pi::kBrowse))->click();
    QVERIFY(app.treeListWindow()->view().loaded());
    QCOMPARE(app.treeListWindow()->view().treeList().rowCount(), 2);
    QVERIFY(button(control(pi::kTreeListExists))->isChecked());
    QCOMPARE(enabledAmong(control, kPlantationSwitched), (QList<int>{pi::kTreeListExists, pi::kBrowse}));
}

void InputDialogsTest::standProjectionOpensUntreatedAndChecksTheThinning() {
    std::unique_ptr<CGROVEXDoc> doc = grownStand(15);
    QVERIFY(doc != nullptr);
    doc->model.qthin = 1; // a treatment chosen last time is not offered again
    doc->model.qfert = 1;
    fakes::RecordingUi ui;
    standProjectionDlg form(*doc);
    StandProjectionDialog dialog(form, ui);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const auto control = [&dialog](int id) { return dialog.control(id); };
    keepSnapshot(dialog, QStringLiteral("stand_projection.png"));

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Stand Projection"));
    QVERIFY(!button(control(sp::kThin))->isChecked());
    QVERIFY(!button(control(sp::kFertilize))->isChecked());
    QVERIFY(!button(control(sp::kPhosphorus))->isChecked());
    QCOMPARE(enabledAmong(control, kThinningControls), QList<int>{});
    QVERIFY(!control(sp::kPhosphorus)->isEnabled());
    QVERIFY(!control(sp::kNitrogen)->isEnabled());
    QCOMPARE(box(control(pi::kFirstTarget))->text(), QStringLiteral("15"));
    QVERIFY(control(pi::kFirstTarget + 6)->isEnabled());

    button(control(sp::kThin))->click();
    button(control(sp::kRowThin))->click();
    QCOMPARE(enabledAmong(control, kThinningControls),
             (QList<int>{sp::kRowThin, sp::kLowThin, sp::kRowAndLowThin, sp::kRowInterval}));
    button(control(sp::kLowThin))->click();
    button(control(sp::kBasalArea))->click();
    QCOMPARE(enabledAmong(control, kThinningControls),
             (QList<int>{sp::kRowThin, sp::kLowThin, sp::kRowAndLowThin, sp::kDiameter, sp::kBasalArea, sp::kDbhBelow,
                         sp::kResidualBasalArea}));
    button(control(sp::kFertilize))->click();
    QVERIFY(control(sp::kPhosphorus)->isEnabled());
    QVERIFY(control(sp::kNitrogen)->isEnabled());
    keepSnapshot(dialog, QStringLiteral("stand_projection_thinning.png"));

    // A row interval out of range, with the focus and selection on it.
    button(control(sp::kRowAndLowThin))->click();
    typeInto(control(sp::kRowInterval), QStringLiteral("7"));
    pressOk(dialog);
    QVERIFY(dialog.isVisible());
    QCOMPARE(ui.texts(), std::vector<std::string>{"Please enter a number from 2 to 6"});
    QCOMPARE(QApplication::focusWidget(), control(sp::kRowInterval));
    QCOMPARE(box(control(sp::kRowInterval))->selectedText(), QStringLiteral("7"));

    typeInto(control(sp::kRowInterval), QStringLiteral("4"));
    typeInto(control(sp::kResidualBasalArea), QStringLiteral("40"));
    typeInto(control(sp::kDbhBelow), QStringLiteral("3"));
    typeInto(control(sp::kHardwood), QStringLiteral("12.5"));
    typeInto(control(sp::kNitrogen), QStringLiteral("150"));
    button(control(sp::kPhosphorus))->click();
    typeInto(control(pi::kFirstTarget), QStringLiteral("20"));
    pressOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const Input2Values values = form.values();
    QVERIFY(values.qthin);
    QCOMPARE(values.ithin, 3);
    QCOMPARE(values.rcut, 4);
    QCOMPARE(values.ilow, 2);
    QCOMPARE(values.dlow, 3.0f);
    QCOMPARE(values.tlim, 40.0f);
    QCOMPARE(values.percnt, 12.5f);
    QVERIFY(values.qfert);
    QVERIFY(values.qphos);
    QCOMPARE(values.lbn, 150);
    QCOMPARE(values.pcrit, int(kCriterionAge));
    QCOMPARE(values.target, 20.0f);
}

void InputDialogsTest::standProjectionOfAnOldStandOffersOnlyAnAge() {
    std::unique_ptr<CGROVEXDoc> doc = grownStand(30);
    QVERIFY(doc != nullptr);
    QCOMPARE(doc->model.age, 30);
    fakes::RecordingUi ui;

    whenDialogShows<StandProjectionDialog>([](StandProjectionDialog& dialog) {
        for (int k = 0; k < pi::kTargetCount; ++k) {
            QCOMPARE(dialog.control(pi::kFirstTarget + k)->isEnabled(), k == 0);
        }
        QCOMPARE(box(dialog.control(pi::kFirstTarget))->text(), QStringLiteral("30"));
        keepSnapshot(dialog, QStringLiteral("stand_projection_old_stand.png"));
        dialog.findChild<QPushButton*>(controlName(2))->click();
    });
    QVERIFY(!runStandProjection(nullptr, *doc, ui).has_value());

    // OK on the pre-filled dialog is accepted: the current age is a valid target.
    whenDialogShows<StandProjectionDialog>([](StandProjectionDialog& dialog) { pressOk(dialog); });
    const std::optional<Input2Values> accepted = runStandProjection(nullptr, *doc, ui);
    QVERIFY(accepted.has_value());
    QVERIFY(ui.texts().empty());
    QVERIFY(!accepted->qthin);
    QCOMPARE(accepted->pcrit, int(kCriterionAge));
    QCOMPARE(accepted->target, 30.0f);
}

void InputDialogsTest::everyFormControlHasItsWidget() {
    fakes::RecordingUi ui;
    propsheet sheet;
    InitializeStandSheet initialize(sheet, ui);
    for (int index = 0; index < propsheet::kPageCount; ++index) {
        expectEveryControlBound(sheet.page(index), initialize.binder(index));
    }

    std::unique_ptr<CGROVEXDoc> doc = grownStand(15);
    QVERIFY(doc != nullptr);
    standProjectionDlg form(*doc);
    StandProjectionDialog projection(form, ui);
    expectEveryControlBound(form, projection.binder());
}

void InputDialogsTest::formControlWithoutAWidgetIsAProgrammingError() {
    TwoBoxForm form;
    QWidget root;
    QLineEdit* built = dialogparts::textBox(TwoBoxForm::kBuilt, &root);
    QTest::ignoreMessage(QtCriticalMsg, "programming error: the dialog \"Two boxes\" has no widget for its control "
                                        "102 (control102)");
#ifdef NDEBUG
    // A release build goes on with the controls it found.
    const FormBinder* binder = new FormBinder(form, root);
    QCOMPARE(binder->widget(TwoBoxForm::kBuilt), built);
    QCOMPARE(binder->widget(TwoBoxForm::kForgotten), nullptr);
#else
    (void)built;
    QVERIFY_THROWS_EXCEPTION(std::logic_error, new FormBinder(form, root));
    QVERIFY(root.findChild<FormBinder*>() == nullptr);
#endif
}

QTEST_MAIN(InputDialogsTest)
#include "input_dialogs_test.moc"
