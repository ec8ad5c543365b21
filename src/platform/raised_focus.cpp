#include "platform/raised_focus.h"

#include <QEvent>
#include <QToolButton>

namespace livrax::platform {

namespace {

class RaiseOnFocus : public QObject {
  public:
    explicit RaiseOnFocus(QToolButton* button) : QObject(button), m_button(button) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_button) {
            if (event->type() == QEvent::FocusIn) m_button->setAutoRaise(false);
            if (event->type() == QEvent::FocusOut) m_button->setAutoRaise(true);
        }
        return false;
    }

  private:
    QToolButton* m_button;
};

} // namespace

void RaiseWhileFocused(QToolButton* button) {
    button->setAutoRaise(!button->hasFocus());
    button->installEventFilter(new RaiseOnFocus(button));
}

} // namespace livrax::platform
