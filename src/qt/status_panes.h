#pragma once
// The panes of the status bar: the message pane ("Ready", or what the active window says, when there is
// nothing else to say), caps lock "CAP", num lock "NUM", and the pane that says "Modified" while the active
// simulation document is modified.

#include <QObject>

class QLabel;
class QStatusBar;

namespace grovex {

class StatusPanes : public QObject {
    Q_OBJECT

public:
    explicit StatusPanes(QStatusBar& bar);

    void setModified(bool modified);
    // What the message pane shows when nothing else is said: "Ready", or `message` when it is not empty.
    void setIdleMessage(const QString& message);
    QString idleMessage() const { return idle_; }
    QString modifiedText() const;
    QString capsText() const;
    QString numText() const;

protected:
    // Follows the lock keys from the key events of the whole application.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showLocks(bool caps, bool num);

    QStatusBar& bar_;
    QLabel* caps_ = nullptr;
    QLabel* num_ = nullptr;
    QLabel* modified_ = nullptr;
    QString idle_;
    // Where the platform reports the lock states in a key event's native modifiers (0: it does not).
    quint32 capsBit_ = 0;
    quint32 numBit_ = 0;
    bool pressReportsOldState_ = false;
};

} // namespace grovex
