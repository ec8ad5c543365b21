#include "support/dialog_log.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QInputDialog>
#include <QMessageBox>

namespace livrax::test {

DialogLog::DialogLog(Boxes boxes) : m_boxes(boxes) {
    QCoreApplication::instance()->installEventFilter(this);
}

DialogLog::~DialogLog() {
    QCoreApplication::instance()->removeEventFilter(this);
}

const QList<DialogLog::Shown>& DialogLog::shown() {
    QCoreApplication::sendPostedEvents();
    return m_shown;
}

QStringList DialogLog::names() {
    QStringList result;
    for (const Shown& dialog : shown())
        result << dialog.name;
    return result;
}

bool DialogLog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isWindow()) {
            QString text;
            if (auto* box = qobject_cast<QMessageBox*>(dialog))
                text = box->text();
            else if (auto* input = qobject_cast<QInputDialog*>(dialog))
                text = input->labelText();
            m_shown.append({dialog->objectName(), text});
            if (m_boxes == Boxes::Close)
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace livrax::test
