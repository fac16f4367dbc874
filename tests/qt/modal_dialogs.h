#pragma once
// Answering a modal dialog from a test: the dialog's exec() runs its own event loop, so the test acts from a
// timer once the dialog of the expected type is the active modal widget.

#include <QApplication>
#include <QTimer>

#include <functional>

template <class T> void whenDialogShows(std::function<void(T&)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*dialog);
        }
    });
    timer->start(10);
}
