#include "qt/about_dialog.h"

#include "app/app_directory.h"
#include "qt/icons.h"
#include "qt/platform/qt_text.h"
#include "qt/platform/qt_ui.h"

#include <QCoreApplication>
#include <QDir>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace grovex {

UserManualPlaces userManualPlaces(const std::string& appDirectory) {
    const std::string program =
        withTrailingSeparator(toStdString(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())));
    return {appDirectory, {program, docDirectoryBeside(program), installedDocDirectory()}};
}

AboutDialog::AboutDialog(Shell& shell, std::string appDirectory, QWidget* parent)
    : QDialog(parent), shell_(shell), appDirectory_(std::move(appDirectory)) {
    setWindowTitle(QStringLiteral("About GROVEX"));

    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    auto* version = new QLabel(QStringLiteral("GROVEX Version 1.0"), this);
    auto* credit = new QLabel(QString::fromLatin1(kCreditLine), this);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(credit);
    texts->addStretch();

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* manual = new QPushButton(QStringLiteral("View Grovex user manual"), this);
    manual->setObjectName(QStringLiteral("control%1").arg(kViewManualId));
    manual->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(manual, &QPushButton::clicked, this, &AboutDialog::viewManual);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(manual);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addSpacing(8);
    layout->addLayout(texts, 1);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The messages are modal to this dialog, which stays open.
void AboutDialog::viewManual() {
    QtUi ui(this);
    openUserManual(shell_, ui, userManualPlaces(appDirectory_));
}

} // namespace grovex
