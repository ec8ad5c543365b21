#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace livrax::test {

// Runs `handle` on the next modal window once it is up (and, when `name` is
// given, only on one with that object name), or with nullptr when none came
// within `waitMs`: the test's hand on a dialog the code under test runs
// modally. Call it before the action that opens the dialog.
void OnNextModal(const std::function<void(QWidget*)>& handle, const QString& name = {},
                 int waitMs = 5000);

// Closes the next modal window, leaving in `seen` a message box's text or
// another window's object name.
void CloseNextModal(QString* seen);

} // namespace livrax::test
