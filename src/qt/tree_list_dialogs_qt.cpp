#include "qt/tree_list_dialogs_qt.h"

#include "base/platform/ui.h"
#include "qt/platform/qt_text.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace grovex {
namespace {

using namespace treelistdlg;

QLineEdit* makeBox(int id, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(controlName(id));
    return box;
}

QDialogButtonBox* okCancel(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(controlName(1));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(controlName(2));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

// Shows a refusal and puts the focus into the refused box with its text selected.
void refuse(Ui& ui, const BoxRefusal& refusal, QLineEdit* box) {
    ui.message(refusal.message, Buttons::Ok, Icon::Warning);
    if (box != nullptr) {
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    }
}

// List items whose tab characters move the text on to the next tab stop, as in a list box with tab stops.
class TabStopDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(
            QPalette::Normal, (option.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
        const QRect area = option.rect.adjusted(kTextMargin, 0, 0, 0);
        const QStringList fields = text.split(QLatin1Char('\t'));
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const int left = area.left() + static_cast<int>(i) * TreeListStateDialog::kTabStop;
            const bool last = i + 1 == fields.size();
            const QRect cell(left, area.top(), last ? area.right() - left : TreeListStateDialog::kTabStop - 4,
                             area.height());
            painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, fields[i]);
        }
        painter->restore();
    }

    static constexpr int kTextMargin = 4;
};

QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFixedWidth(TreeListStateDialog::kTabStop);
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    return label;
}

} // namespace

QString controlName(int id) {
    return QStringLiteral("control%1").arg(id);
}

// ---- Insert how many rows? ----

InsertRowsDialog::InsertRowsDialog(insertRowsDlg& form, Ui& ui, QWidget* parent)
    : QDialog(parent), form_(form), ui_(ui) {
    setWindowTitle(QStringLiteral("Insert how many rows?"));
    rows_ = makeBox(kRows, this);
    rows_->setText(toQString(form_.rowsText()));
    rows_->setMaximumWidth(80);
    rows_->selectAll();

    auto* label = new QLabel(QStringLiteral("Rows"), this);
    label->setBuddy(rows_);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(rows_);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(okCancel(*this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void InsertRowsDialog::accept() {
    if (const std::optional<BoxRefusal> refusal = form_.accept(toStdString(rows_->text()))) {
        refuse(ui_, *refusal, rows_);
        return;
    }
    QDialog::accept();
}

std::optional<int> askInsertRowCount(Ui& ui, QWidget* parent) {
    insertRowsDlg form;
    InsertRowsDialog dialog(form, ui, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return form.rows;
}

// ---- Change Tree Values ----

TreeValuesDialog::TreeValuesDialog(treeValuesDlg& form, Ui& ui, QWidget* parent)
    : QDialog(parent), form_(form), ui_(ui) {
    setWindowTitle(QStringLiteral("Change Tree Values"));
    dbh_ = makeBox(kDbh, this);
    height_ = makeBox(kHeight, this);
    liveFrequency_ = makeBox(kLiveFrequency, this);
    thinFrequency_ = makeBox(kThinFrequency, this);
    const treeValuesDlg::Texts texts = form_.texts();
    dbh_->setText(toQString(texts.dbh));
    height_->setText(toQString(texts.height));
    liveFrequency_->setText(toQString(texts.liveFrequency));
    thinFrequency_->setText(toQString(texts.thinFrequency));

    // Left to right: DBH, Height, Live Frequency, Thin Frequency, each box under its caption.
    auto* grid = new QGridLayout;
    const std::pair<const char*, QLineEdit*> columns[] = {
        {"DBH", dbh_}, {"Height", height_}, {"Live\nFrequency", liveFrequency_}, {"Thin\nFrequency", thinFrequency_}};
    int column = 0;
    for (const auto& [text, box] : columns) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        label->setBuddy(box);
        box->setMaximumWidth(80);
        grid->addWidget(label, 0, column);
        grid->addWidget(box, 1, column);
        ++column;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(okCancel(*this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dbh_->setFocus();
    dbh_->selectAll();
}

QLineEdit* TreeValuesDialog::box(int id) const {
    switch (id) {
    case kDbh:
        return dbh_;
    case kHeight:
        return height_;
    case kLiveFrequency:
        return liveFrequency_;
    case kThinFrequency:
        return thinFrequency_;
    default:
        return nullptr;
    }
}

void TreeValuesDialog::accept() {
    const treeValuesDlg::Texts texts{toStdString(dbh_->text()), toStdString(liveFrequency_->text()),
                                     toStdString(height_->text()), toStdString(thinFrequency_->text())};
    if (const std::optional<BoxRefusal> refusal = form_.accept(texts)) {
        refuse(ui_, *refusal, box(refusal->control));
        return;
    }
    QDialog::accept();
}

treeListStateDlg::ValuesEditor treeValuesEditor(Ui& ui) {
    return [&ui](treeValuesDlg& form) {
        TreeValuesDialog dialog(form, ui, QApplication::activeModalWidget());
        return dialog.exec() == QDialog::Accepted;
    };
}

// ---- Change Tree List State ----

TreeListStateDialog::TreeListStateDialog(treeListStateDlg& form, QWidget* parent) : QDialog(parent), form_(form) {
    setWindowTitle(QStringLiteral("Change Tree List State"));

    list_ = new QListWidget(this);
    list_->setObjectName(controlName(kEntries));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setItemDelegate(new TabStopDelegate(list_));
    list_->setUniformItemSizes(true);
    list_->setMinimumSize(4 * kTabStop + 40, 220);

    auto* captions = new QHBoxLayout;
    captions->setContentsMargins(list_->frameWidth() + TabStopDelegate::kTextMargin, 0, 0, 0);
    captions->setSpacing(0);
    for (const char* text : {"DBH", "Height", "Live\nFrequency", "Thin\nFrequency"}) {
        captions->addWidget(caption(QString::fromLatin1(text), this));
    }
    captions->addStretch();

    auto* remove = new QPushButton(QStringLiteral("Remove Selected Entries"), this);
    remove->setObjectName(controlName(kRemoveSelected));
    auto* copy = new QPushButton(QStringLiteral("Copy Selected Entries"), this);
    copy->setObjectName(controlName(kCopySelected));
    auto* paste = new QPushButton(QStringLiteral("Paste"), this);
    paste->setObjectName(controlName(kPaste));
    for (QPushButton* button : {remove, copy, paste}) {
        button->setAutoDefault(false);
    }
    auto* actions = new QVBoxLayout;
    actions->addWidget(remove);
    actions->addWidget(copy);
    actions->addWidget(paste);
    actions->addStretch();
    auto* buttons = okCancel(*this);
    buttons->setOrientation(Qt::Vertical);
    actions->addWidget(buttons);

    auto* listColumn = new QVBoxLayout;
    listColumn->addLayout(captions);
    listColumn->addWidget(list_, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(listColumn, 1);
    top->addSpacing(8);
    top->addLayout(actions);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    for (const char* note :
         {"* Double click an item to edit it.",
          "*Paste removes selected entries and inserts at the top most selected entry.  If no "
          "selection exists, Paste adds to the end.",
          "*Be sure final values are correct and in proper form, there is no internal validation ."}) {
        auto* label = new QLabel(QString::fromLatin1(note), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }

    connect(list_, &QListWidget::itemSelectionChanged, this, &TreeListStateDialog::takeSelection);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        form_.editFirstSelected();
        showForm();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        form_.removeSelected();
        showForm();
    });
    connect(copy, &QPushButton::clicked, this, [this] { form_.copySelected(); });
    connect(paste, &QPushButton::clicked, this, [this] {
        form_.paste();
        showForm();
    });
    showForm();
}

void TreeListStateDialog::showForm() {
    const QScopedValueRollback<bool> guard(showing_, true);
    const int top = list_->verticalScrollBar() != nullptr ? list_->verticalScrollBar()->value() : 0;
    list_->clear();
    for (size_t i = 0; i < form_.items().size(); ++i) {
        auto* item = new QListWidgetItem(toQString(form_.items()[i]), list_);
        item->setSelected(form_.isSelected(static_cast<int>(i)));
    }
    list_->verticalScrollBar()->setValue(top);
}

void TreeListStateDialog::takeSelection() {
    if (showing_) {
        return;
    }
    std::vector<int> selected;
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->isSelected()) {
            selected.push_back(i);
        }
    }
    form_.select(selected);
}

void TreeListStateDialog::accept() {
    form_.accept();
    QDialog::accept();
}

} // namespace grovex
