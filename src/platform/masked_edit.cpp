#include "platform/masked_edit.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace livrax::platform {

MaskedLineEdit::MaskedLineEdit(QWidget* parent) : QLineEdit(parent) {}

void MaskedLineEdit::selectFromStart() {
    const int length = displayText().size();
    // Anchor at the end, cursor at the start: typing replaces the selection
    // from the first position of the mask.
    setSelection(length, -length);
}

void MaskedLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A click places the cursor after this event; the press selects then.
    m_focusByMouse = event->reason() == Qt::MouseFocusReason;
    if (!m_focusByMouse) selectFromStart();
}

void MaskedLineEdit::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (!m_focusByMouse) return;
    m_focusByMouse = false;
    selectFromStart();
}

} // namespace livrax::platform
