#include "qt/status_panes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

namespace grovex {
namespace {

const QString kReady = QStringLiteral("Ready");

QLabel* addPane(QStatusBar& bar, const QString& widest) {
    auto* label = new QLabel(&bar);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + 8);
    bar.addPermanentWidget(label);
    return label;
}

} // namespace

StatusPanes::StatusPanes(QStatusBar& bar) : QObject(&bar), bar_(bar) {
    caps_ = addPane(bar, QStringLiteral("CAP"));
    num_ = addPane(bar, QStringLiteral("NUM"));
    modified_ = addPane(bar, QString(19, QLatin1Char(' ')));
    setModified(false);
    idle_ = kReady;
    bar.showMessage(idle_);
    connect(&bar, &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty()) {
            bar_.showMessage(idle_);
        }
    });
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        capsBit_ = 0x02; // LockMask
        numBit_ = 0x10;  // Mod2Mask
        pressReportsOldState_ = true;
    } else if (platform == QLatin1String("windows")) {
        capsBit_ = 0x100;
        numBit_ = 0x200;
    }
    if (capsBit_ != 0) {
        qApp->installEventFilter(this);
    }
}

void StatusPanes::setModified(bool modified) {
    modified_->setText(modified ? QStringLiteral("Modified") : QString());
}

// A message shown for the moment (a menu item's prompt) stays until it ends.
void StatusPanes::setIdleMessage(const QString& message) {
    const QString idle = message.isEmpty() ? kReady : message;
    if (idle == idle_) {
        return;
    }
    const bool showingIdle = bar_.currentMessage() == idle_;
    idle_ = idle;
    if (showingIdle) {
        bar_.showMessage(idle_);
    }
}

QString StatusPanes::modifiedText() const {
    return modified_->text();
}
QString StatusPanes::capsText() const {
    return caps_->text();
}
QString StatusPanes::numText() const {
    return num_->text();
}

void StatusPanes::showLocks(bool caps, bool num) {
    caps_->setText(caps ? QStringLiteral("CAP") : QString());
    num_->setText(num ? QStringLiteral("NUM") : QString());
}

bool StatusPanes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        bool caps = (key->nativeModifiers() & capsBit_) != 0;
        bool num = (key->nativeModifiers() & numBit_) != 0;
        // On X11 a press of the lock key itself reports the state from before it.
        if (pressReportsOldState_ && event->type() == QEvent::KeyPress && !key->isAutoRepeat()) {
            caps ^= key->key() == Qt::Key_CapsLock;
            num ^= key->key() == Qt::Key_NumLock;
        }
        showLocks(caps, num);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace grovex
