#include "qt/stand_projection_dialog.h"

#include "qt/form_binder.h"
#include "qt/platform/qt_text.h"
#include "qt/tree_list_dialogs_qt.h"
#include "results/document.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace grovex {
namespace {

using namespace dialogparts;
using namespace standprojection;

// The controls that belong to a check box, indented under it as its dependants.
QVBoxLayout* indented(QBoxLayout* parentLayout, const QWidget* checkBox) {
    auto* inner = new QVBoxLayout;
    const int indent = checkBox->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                       checkBox->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    inner->setContentsMargins(indent, 0, 0, 0);
    parentLayout->addLayout(inner);
    return inner;
}

QGroupBox* thinningGroup(QWidget* parent) {
    auto* group = new QGroupBox(parent);
    auto* column = new QVBoxLayout(group);
    QCheckBox* thin = checkBox(kThin, QStringLiteral("Thin the Stand"), group);
    column->addWidget(thin);
    QVBoxLayout* inner = indented(column, thin);

    auto* kinds = new QHBoxLayout;
    kinds->addWidget(radioButton(kRowThin, QStringLiteral("Row Thin"), group));
    kinds->addWidget(radioButton(kLowThin, QStringLiteral("Low Thin"), group));
    kinds->addWidget(radioButton(kRowAndLowThin, QStringLiteral("Row and Low Thin"), group));
    kinds->addStretch();
    inner->addLayout(kinds);

    auto* boxes = new QGridLayout;
    boxes->setColumnStretch(0, 1);
    addBoxRow(boxes, 0, QStringLiteral("Row Interval"), numberBox(kRowInterval, group, 6));
    addBoxRow(boxes, 1, QStringLiteral("DBH below which no thinning occurs"), numberBox(kDbhBelow, group, 6));
    auto* basis = new QHBoxLayout;
    basis->addWidget(radioButton(kDiameter, QStringLiteral("Diameter"), group));
    basis->addWidget(radioButton(kBasalArea, QStringLiteral("Basal Area"), group));
    basis->addStretch();
    boxes->addLayout(basis, 2, 0, 1, 2);
    addBoxRow(boxes, 3, QStringLiteral("DBH above which no thinning occurs"), numberBox(kDbhAbove, group, 6));
    addBoxRow(boxes, 4, QStringLiteral("Target residual basal area\n(sq ft)"), numberBox(kResidualBasalArea, group, 6));
    inner->addLayout(boxes);
    column->addStretch();
    return group;
}

QGroupBox* fertilizerGroup(QWidget* parent) {
    auto* group = new QGroupBox(parent);
    auto* column = new QVBoxLayout(group);
    QCheckBox* fertilize = checkBox(kFertilize, QStringLiteral("Fertilize"), group);
    column->addWidget(fertilize);
    QVBoxLayout* inner = indented(column, fertilize);
    inner->addWidget(checkBox(kPhosphorus, QStringLiteral("Apply phosphorus"), group));
    auto* boxes = new QGridLayout;
    boxes->setColumnStretch(0, 1);
    addBoxRow(boxes, 0, QStringLiteral("Pounds of nitrogen applied"), numberBox(kNitrogen, group, 6));
    inner->addLayout(boxes);
    column->addStretch();
    return group;
}

} // namespace

StandProjectionDialog::StandProjectionDialog(standProjectionDlg& form, Ui& ui, QWidget* parent)
    : QDialog(parent), form_(form), ui_(ui) {
    setWindowTitle(toQString(form_.caption()));
    form_.OnInitDialog();

    // Left the thinning; right the hardwoods and the fertilization; below them the output target.
    auto* right = new QVBoxLayout;
    auto* hardwoodRow = new QGridLayout;
    hardwoodRow->setColumnStretch(0, 1);
    QLineEdit* hardwood = numberBox(kHardwood, this, 6);
    addBoxRow(hardwoodRow, 0, QStringLiteral("Percent of basal area in hardwoods"), hardwood);
    hardwoodRow->setContentsMargins(10, 6, 10, 6);
    right->addLayout(hardwoodRow);
    right->addWidget(fertilizerGroup(this));
    right->addStretch();

    auto* upper = new QHBoxLayout;
    upper->addWidget(thinningGroup(this), 1);
    upper->addLayout(right);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(controlName(1));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(controlName(2));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(upper);
    layout->addWidget(outputTargetGroup(this));
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    binder_ = new FormBinder(form_, *this);
    binder_->show();
    if (QWidget* first = binder_->firstWidget()) {
        first->setFocus();
    }
}

QWidget* StandProjectionDialog::control(int id) const {
    return binder_->widget(id);
}

void StandProjectionDialog::accept() {
    const FormResult result = form_.OnOK();
    binder_->show();
    if (!result.ok) {
        showRefusal(ui_, result, *binder_);
        return;
    }
    QDialog::accept();
}

std::optional<Input2Values> runStandProjection(QWidget* parent, CGROVEXDoc& doc, Ui& ui) {
    standProjectionDlg form(doc);
    StandProjectionDialog dialog(form, ui, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return form.values();
}

} // namespace grovex
