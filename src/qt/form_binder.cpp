#include "qt/form_binder.h"

#include "base/platform/ui.h"
#include "dialogs/general_info_dlg.h"
#include "qt/platform/qt_text.h"
#include "qt/tree_list_dialogs_qt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QtGlobal>

#include <stdexcept>
#include <string>

namespace grovex {

namespace {

// A form control without its widget is a mistake in building the dialog: the user could neither see nor
// change that control, and what the form checks would no longer be what the dialog shows. A debug build
// stops at once; a release build logs it and binds the other controls.
void reportMissingWidget(const DialogForm& form, int id) {
    const std::string what = "the dialog \"" + form.caption() + "\" has no widget for its control " +
                             std::to_string(id) + " (" + toStdString(controlName(id)) + ")";
    qCritical("programming error: %s", what.c_str());
#ifndef NDEBUG
    throw std::logic_error(what);
#endif
}

} // namespace

FormBinder::FormBinder(DialogForm& form, QWidget& root) : QObject(&root), form_(form) {
    for (const int id : form_.controlIds()) {
        QWidget* widget = root.findChild<QWidget*>(controlName(id));
        if (widget == nullptr) {
            reportMissingWidget(form_, id);
            continue;
        }
        widgets_[id] = widget;
        order_.push_back(id);
        if (form_.kind(id) == ControlKind::Edit) {
            if (auto* box = qobject_cast<QLineEdit*>(widget)) {
                bindEdit(id, box);
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            bindButton(id, button);
        }
    }
    for (size_t i = 1; i < order_.size(); ++i) {
        QWidget::setTabOrder(widgets_[order_[i - 1]], widgets_[order_[i]]);
    }
}

void FormBinder::bindEdit(int id, QLineEdit* box) {
    if (form_.textLimit(id) > 0) {
        box->setMaxLength(form_.textLimit(id));
    }
    connect(box, &QLineEdit::textEdited, this, [this, id](const QString& text) {
        form_.setText(id, toStdString(text));
        userChanged(id);
    });
}

void FormBinder::bindButton(int id, QAbstractButton* button) {
    switch (form_.kind(id)) {
    case ControlKind::CheckBox:
        connect(button, &QAbstractButton::toggled, this, [this, id](bool checked) {
            form_.setChecked(id, checked);
            userChanged(id);
        });
        break;
    case ControlKind::RadioButton: {
        // The buttons of one form group make one exclusive group, whatever their parent widgets.
        QButtonGroup*& group = radioGroups_[form_.radioGroup(id).front()];
        if (group == nullptr) {
            group = new QButtonGroup(this);
        }
        group->addButton(button, id);
        // The button that becomes checked speaks for the group.
        connect(button, &QAbstractButton::toggled, this, [this, id](bool checked) {
            if (checked) {
                form_.setChecked(id, true);
                userChanged(id);
            }
        });
        break;
    }
    case ControlKind::Button:
        connect(button, &QAbstractButton::clicked, this, [this, id] { userChanged(id); });
        break;
    case ControlKind::Edit:
        break;
    }
}

void FormBinder::userChanged(int id) {
    if (showing_) {
        return;
    }
    form_.OnControlChanged(id);
    show();
    Q_EMIT changed(id);
}

QWidget* FormBinder::widget(int id) const {
    const auto found = widgets_.find(id);
    return found != widgets_.end() ? found->second : nullptr;
}

QWidget* FormBinder::firstWidget() const {
    return order_.empty() ? nullptr : widget(order_.front());
}

QWidget* FormBinder::lastWidget() const {
    return order_.empty() ? nullptr : widget(order_.back());
}

void FormBinder::show() {
    const QScopedValueRollback<bool> guard(showing_, true);
    // A group with no button checked can only be shown while it is not exclusive.
    for (const auto& [first, group] : radioGroups_) {
        group->setExclusive(false);
    }
    for (const int id : order_) {
        QWidget* widget = widgets_[id];
        const QSignalBlocker blocker(widget);
        widget->setEnabled(form_.enabled(id));
        if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            const QString text = toQString(form_.text(id));
            if (box->text() != text) {
                box->setText(text);
            }
        } else if (form_.kind(id) != ControlKind::Button) {
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                button->setChecked(form_.checked(id));
            }
        }
    }
    for (const auto& [first, group] : radioGroups_) {
        group->setExclusive(true);
    }
}

void FormBinder::focusControl(int id) const {
    QWidget* target = widget(id);
    if (target == nullptr) {
        return;
    }
    target->setFocus(Qt::OtherFocusReason);
    if (auto* box = qobject_cast<QLineEdit*>(target)) {
        box->selectAll();
    }
}

void showRefusal(Ui& ui, const FormResult& result, const FormBinder& binder) {
    if (result.ok) {
        return;
    }
    ui.message(result.message, Buttons::Ok, Icon::None);
    binder.focusControl(result.focusControl);
}

namespace dialogparts {

QLineEdit* numberBox(int id, QWidget* parent, int characters) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(controlName(id));
    const QFontMetrics metrics(box->font());
    box->setFixedWidth(metrics.horizontalAdvance(QLatin1Char('0')) * characters + 12);
    return box;
}

QLineEdit* textBox(int id, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(controlName(id));
    return box;
}

QCheckBox* checkBox(int id, const QString& text, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(controlName(id));
    return box;
}

QRadioButton* radioButton(int id, const QString& text, QWidget* parent) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(controlName(id));
    return button;
}

QLabel* label(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QLabel* optionalMark(QWidget* parent) {
    auto* mark = new QLabel(QStringLiteral("Optional:"), parent);
    QFont font = mark->font();
    font.setItalic(true);
    mark->setFont(font);
    return mark;
}

void addBoxRow(QGridLayout* grid, int row, const QString& text, QLineEdit* box, bool optional) {
    QWidget* parent = box->parentWidget();
    QLabel* caption = label(text, box, parent);
    if (optional) {
        auto* both = new QHBoxLayout;
        both->setSpacing(6);
        both->addWidget(optionalMark(parent));
        both->addWidget(caption);
        both->addStretch();
        grid->addLayout(both, row, 0);
    } else {
        grid->addWidget(caption, row, 0);
    }
    grid->addWidget(box, row, 1, Qt::AlignRight);
}

QGroupBox* outputTargetGroup(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("Output Target"), parent);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->setColumnMinimumWidth(2, 16);
    const char* const labels[plantation::kTargetCount] = {"Age",
                                                          "Basal area",
                                                          "Quadratic mean dbh",
                                                          "Dominant stand height",
                                                          "Merchantable cord volume target",
                                                          "Average crown ratio %",
                                                          "Relative spacing"};
    // Down the first column (age to dominant height), then down the second.
    constexpr int kFirstColumnRows = 4;
    for (int k = 0; k < plantation::kTargetCount; ++k) {
        QLineEdit* box = numberBox(plantation::kFirstTarget + k, group, 9);
        const int row = k % kFirstColumnRows;
        const int column = k < kFirstColumnRows ? 0 : 3;
        grid->addWidget(label(QString::fromLatin1(labels[k]), box, group), row, column);
        grid->addWidget(box, row, column + 1);
    }
    grid->setColumnStretch(2, 1);
    return group;
}

} // namespace dialogparts

} // namespace grovex
