#pragma once

// Drives a modal window from inside its own event loop: the action runs on the next modal window
// that opens, once the loop has shown it. Should the action fail half-way, the window is closed
// anyway, so that a failure never hangs a test.

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <functional>

inline void onModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, qApp, [act] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        act(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal.data()); dialog && dialog->isVisible())
            dialog->done(QDialog::Rejected);
    });
}
