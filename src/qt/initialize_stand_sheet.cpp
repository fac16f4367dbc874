#include "qt/initialize_stand_sheet.h"

#include "base/platform/ui.h"
#include "qt/application.h"
#include "qt/form_binder.h"
#include "qt/platform/qt_text.h"
#include "qt/tree_list_dialogs_qt.h"
#include "qt/tree_list_window.h"
#include "results/document.h"
#include "treelist/tree_list_view.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace grovex {
namespace {

using namespace dialogparts;

// ---- Plantation Information ----

QWidget* plantationPage() {
    using namespace plantation;
    auto* page = new QWidget;

    auto* title = dialogparts::textBox(kTitle, page);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(label(QStringLiteral("Title"), title, page));
    titleRow->addWidget(title, 1);

    auto* rotation = numberBox(kRotation, page, 5);
    auto* site = numberBox(kSiteIndex, page, 5);
    auto* topRow = new QHBoxLayout;
    topRow->addWidget(label(QStringLiteral("Maximum Anticipated Rotation (Growing Seasons)"), rotation, page));
    topRow->addWidget(rotation);
    topRow->addStretch();
    topRow->addSpacing(16);
    topRow->addWidget(label(QStringLiteral("Site Index (base age 25)"), site, page));
    topRow->addWidget(site);

    auto* exists = checkBox(kStandExists, QStringLiteral("Stand Already Exists"), page);

    auto* existing = new QGroupBox(QStringLiteral("existing stand info"), page);
    auto* existingGrid = new QGridLayout(existing);
    addBoxRow(existingGrid, 0, QStringLiteral("Number of Trees Surviving Per Acre:"),
              numberBox(kTreesSurviving, existing));
    addBoxRow(existingGrid, 1, QStringLiteral("Age of Existing Stand:\n (Growing Seasons Finished)"),
              numberBox(kExistingAge, existing));
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(checkBox(kTreeListExists, QStringLiteral("Tree List Exists"), existing));
    listRow->addStretch();
    auto* browse = new QPushButton(QStringLiteral("Browse"));
    browse->setObjectName(controlName(kBrowse));
    browse->setAutoDefault(false);
    listRow->addWidget(browse);
    existingGrid->addLayout(listRow, 2, 0, 1, 2);
    addBoxRow(existingGrid, 3, QStringLiteral("Basal area (sq. ft/acre):"), numberBox(kBasalArea, existing), true);
    existingGrid->setColumnStretch(0, 1);

    auto* planted = new QGroupBox(QStringLiteral("new stand info"), page);
    auto* plantedGrid = new QGridLayout(planted);
    addBoxRow(plantedGrid, 0, QStringLiteral("Number of Trees Planted Per Acre"), numberBox(kTreesPlanted, planted));
    addBoxRow(plantedGrid, 1, QStringLiteral("Percent Survival After First Year"),
              numberBox(kPercentSurvival, planted));
    plantedGrid->setRowStretch(2, 1);
    plantedGrid->setColumnStretch(0, 1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(existing, 1);
    groups->addWidget(planted, 1);

    auto* hardwood = numberBox(kHardwood, page, 5);
    auto* siteRow = new QHBoxLayout;
    siteRow->addWidget(checkBox(kPoorlyDrained, QStringLiteral("The site is poorly drained and not bedded"), page));
    siteRow->addStretch();
    siteRow->addSpacing(16);
    siteRow->addWidget(dialogparts::optionalMark(page));
    siteRow->addWidget(label(QStringLiteral("Percent of Basal Area in Hardwoods"), hardwood, page));
    siteRow->addWidget(hardwood);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(titleRow);
    layout->addLayout(topRow);
    layout->addSpacing(4);
    layout->addWidget(exists);
    layout->addLayout(groups);
    layout->addLayout(siteRow);
    layout->addSpacing(4);
    layout->addWidget(dialogparts::outputTargetGroup(page));
    layout->addStretch();
    return page;
}

// ---- Volume Output Units ----

QWidget* volumeUnitsPage() {
    using namespace volumeunits;
    auto* page = new QWidget;

    auto* units = new QGroupBox(page);
    auto* unitsColumn = new QVBoxLayout(units);
    unitsColumn->addWidget(radioButton(kCubicFeetButton, QStringLiteral("Cubic feet"), units));
    unitsColumn->addWidget(radioButton(kCordsButton, QStringLiteral("Cords and board feet"), units));
    unitsColumn->addWidget(radioButton(kCustomUnitsButton, QStringLiteral("Custom units"), units));
    unitsColumn->addStretch();

    // Right of the units: the bark type, the minimum DBH class, the top diameter and the board-foot rule.
    auto* choices = new QGridLayout;
    choices->setHorizontalSpacing(12);
    choices->addWidget(new QLabel(QStringLiteral("Volume type:"), page), 0, 0);
    auto* bark = new QHBoxLayout;
    bark->addWidget(radioButton(kInsideBarkButton, QStringLiteral("inside bark"), page));
    bark->addWidget(radioButton(kOutsideBarkButton, QStringLiteral("outside bark"), page));
    bark->addStretch();
    choices->addLayout(bark, 0, 1);
    auto* minDbh = numberBox(kMinDbhClass, page, 5);
    choices->addWidget(label(QStringLiteral("Minimum DBH class"), minDbh, page), 1, 0);
    choices->addWidget(minDbh, 1, 1, Qt::AlignLeft);
    auto* top = numberBox(kTopDiameter, page, 5);
    choices->addWidget(label(QStringLiteral("Top diameter (o.b.) limit"), top, page), 2, 0);
    choices->addWidget(top, 2, 1, Qt::AlignLeft);
    auto* rules = new QGroupBox(page);
    auto* rulesRow = new QHBoxLayout(rules);
    rulesRow->addWidget(radioButton(kInternationalButton, QStringLiteral("International 1/4"), rules));
    rulesRow->addWidget(radioButton(kDoyleButton, QStringLiteral("Doyle"), rules));
    rulesRow->addWidget(radioButton(kScribnerButton, QStringLiteral("Scribner"), rules));
    rulesRow->addStretch();
    choices->addWidget(rules, 3, 0, 1, 2);
    choices->setColumnStretch(1, 1);

    auto* upper = new QHBoxLayout;
    upper->addWidget(units);
    upper->addSpacing(8);
    upper->addLayout(choices, 1);

    // The custom equations, one column each, a caption row "1" "2" "3" above.
    auto* custom = new QGroupBox(QStringLiteral("Equation form is vol = A + B(d*d*h)"), page);
    auto* grid = new QGridLayout(custom);
    grid->setHorizontalSpacing(10);
    const char* const rowLabels[4] = {"Volume units name (15 characters max.)", "Equation parameter A",
                                      "Equation parameter B", "Minimum dbh class"};
    for (int column = 0; column < 3; ++column) {
        auto* caption = new QLabel(QString::number(column + 1), custom);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(caption, 0, column + 1);
        const int ids[4] = {kEquationName[column], kEquationA[column], kEquationB[column], kEquationMinDbh[column]};
        for (int row = 0; row < 4; ++row) {
            QLineEdit* box = numberBox(ids[row], custom, 11);
            grid->addWidget(box, row + 1, column + 1);
            if (column == 0) {
                grid->addWidget(label(QString::fromLatin1(rowLabels[row]), box, custom), row + 1, 0);
            }
        }
    }
    grid->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(upper);
    layout->addSpacing(6);
    layout->addWidget(custom);
    layout->addStretch();
    return page;
}

} // namespace

InitializeStandSheet::InitializeStandSheet(propsheet& sheet, Ui& ui, QWidget* parent)
    : QDialog(parent), sheet_(sheet), ui_(ui) {
    setWindowTitle(toQString(sheet_.caption()));
    sheet_.OnInitDialog();

    tabs_ = new QTabWidget(this);
    QWidget* pages[propsheet::kPageCount] = {plantationPage(), volumeUnitsPage()};
    for (int index = 0; index < propsheet::kPageCount; ++index) {
        DialogForm& form = sheet_.page(index);
        tabs_->addTab(pages[index], toQString(form.caption()));
        binders_[index] = new FormBinder(form, *pages[index]);
        binders_[index]->show();
    }
    tabs_->setCurrentIndex(0);
    // Changing pages checks nothing; OK starts with the page showing.
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0) {
            sheet_.setActivePage(index);
        }
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(controlName(1));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(controlName(2));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (QWidget* first = binders_[0]->firstWidget()) {
        first->setFocus();
    }
}

QWidget* InitializeStandSheet::page(int index) const {
    return tabs_->widget(index);
}

FormBinder& InitializeStandSheet::binder(int index) const {
    return *binders_[index];
}

QWidget* InitializeStandSheet::control(int id) const {
    for (FormBinder* binder : binders_) {
        if (QWidget* widget = binder->widget(id)) {
            return widget;
        }
    }
    return nullptr;
}

void InitializeStandSheet::accept() {
    const FormResult result = sheet_.OnOK();
    for (FormBinder* binder : binders_) {
        binder->show();
    }
    if (!result.ok) {
        tabs_->setCurrentIndex(sheet_.activePage());
        showRefusal(ui_, result, *binders_[sheet_.activePage()]);
        return;
    }
    QDialog::accept();
}

std::optional<InitializeStandValues> runInitializeStand(QWidget* parent, CGROVEXDoc& doc, Ui& ui,
                                                        generalInfoDlg::BrowseAction browse) {
    propsheet sheet(&doc);
    sheet.restore(doc.plantationPage, doc.volumeUnitsPage);
    sheet.plantationPage.setBrowseAction(std::move(browse));
    InitializeStandSheet dialog(sheet, ui, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    doc.plantationPage = sheet.plantationMembers();
    doc.volumeUnitsPage = sheet.volumeUnitsMembers();
    return InitializeStandValues{doc.plantationPage, doc.volumeUnitsPage, sheet.input1()};
}

generalInfoDlg::BrowseAction treeListBrowser(Application& app) {
    return [&app] {
        TreeListWindow& window = app.ensureTreeListWindow();
        window.executeCommand(cmd::kFileOpen);
        return window.view().loaded();
    };
}

} // namespace grovex
