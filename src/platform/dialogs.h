#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace livrax::platform {

// A one-line input dialog; nothing when the user cancels.
std::optional<QString> InputText(QWidget* parent, const QString& title, const QString& prompt,
                                 const QString& text);

// The program's error box: the message of a failure nobody else handled.
void ShowError(QWidget* parent, const QString& message);

// An information box with an OK button.
void ShowMessage(QWidget* parent, const QString& message);

// Loads Qt's own Brazilian Portuguese texts (qtbase_pt_BR: the file, print
// and colour dialogs, standard buttons, context menus) into the running
// application. False when the translation files are not installed.
bool InstallStandardTranslations();

} // namespace livrax::platform
