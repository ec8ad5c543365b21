#include "platform/raised_focus.h"

#include <QEvent>
#include <QToolButton>

namespace livrax::platform {

namespace {

class RaiseOnFocus : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        // A button being destroyed is no longer a QToolButton when its
        // widget part gives the focus away: the cast then fails.
        auto* button = qobject_cast<QToolButton*>(watched);
        if (button && event->type() == QEvent::FocusIn) button->setAutoRaise(false);
        if (button && event->type() == QEvent::FocusOut) button->setAutoRaise(true);
        return false;
    }
};

} // namespace

void RaiseWhileFocused(QToolButton* button) {
    button->setAutoRaise(!button->hasFocus());
    button->installEventFilter(new RaiseOnFocus(button));
}

} // namespace livrax::platform
