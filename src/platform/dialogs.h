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

} // namespace livrax::platform
