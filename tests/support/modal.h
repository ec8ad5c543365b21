#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace livrax::test {

// Runs `handle` on the next modal window named `name` (any, when empty) once
// it is up and, when `ready` is given, once it holds; or with nullptr when
// none came within `waitMs`: the test's hand on a dialog the code under test
// runs modally. Call it before the action that opens the dialog.
void OnModal(const QString& name, const std::function<void(QWidget*)>& handle,
             const std::function<bool(QWidget*)>& ready = {}, int waitMs = 5000);
// The same for whatever modal window opens next.
void OnNextModal(const std::function<void(QWidget*)>& handle, int waitMs = 5000);

// Closes the next modal window, leaving in `seen` a message box's text or
// another window's object name.
void CloseNextModal(QString* seen);

} // namespace livrax::test
