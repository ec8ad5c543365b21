#include "support/modal.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace livrax::test {

void OnModal(const QString& name, const std::function<void(QWidget*)>& handle,
             const std::function<bool(QWidget*)>& ready, int waitMs) {
    // Owned by the application, so a timer still waiting when the test
    // program ends is freed with it.
    auto* timer = new QTimer(QCoreApplication::instance());
    auto elapsed = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, handle, name, ready, elapsed, waitMs] {
        QWidget* modal = QApplication::activeModalWidget();
        *elapsed += 10;
        const bool found = modal && modal->isVisible() &&
                           (name.isEmpty() || modal->objectName() == name) &&
                           (!ready || ready(modal));
        if (found || *elapsed >= waitMs) {
            timer->stop();
            timer->deleteLater();
            handle(found ? modal : nullptr);
        }
    });
    timer->start();
}

void OnNextModal(const std::function<void(QWidget*)>& handle, int waitMs) {
    OnModal(QString(), handle, {}, waitMs);
}

void CloseNextModal(QString* seen) {
    OnNextModal([seen](QWidget* modal) {
        if (!modal) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            *seen = box->text();
        else
            *seen = modal->objectName();
        // A window busy with its work (a preview still drawing) may refuse to
        // close: ask again until it is gone.
        QPointer<QWidget> target(modal);
        // Owned by the window it closes, so it goes with that window at the
        // latest.
        auto* retry = new QTimer(modal);
        retry->setInterval(10);
        auto tries = std::make_shared<int>(0);
        QObject::connect(retry, &QTimer::timeout, [retry, target, tries] {
            if (target && target->isVisible() && ++*tries < 1000) {
                target->close();
                return;
            }
            retry->stop();
            retry->deleteLater();
        });
        modal->close();
        retry->start();
    });
}

} // namespace livrax::test
