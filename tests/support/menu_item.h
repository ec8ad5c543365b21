#pragma once

#include <QAction>
#include <QList>
#include <QMenu>
#include <QString>

namespace livrax::test {

// The menu item captioned `text` among `actions` and their sub-menus, depth
// first; nullptr when there is none.
inline QAction* FindMenuItem(const QList<QAction*>& actions, const QString& text) {
    for (QAction* action : actions) {
        if (action->text() == text) return action;
        if (action->menu())
            if (QAction* found = FindMenuItem(action->menu()->actions(), text)) return found;
    }
    return nullptr;
}

} // namespace livrax::test
