#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace livrax::platform {

// The program's "save as" dialog (object name "SAVE_FILE"), modal over
// `parent`, starting on `proposed`; a name typed without an extension gets
// `defaultSuffix`. The chosen path, or nothing when the user cancels.
std::optional<QString> AskSaveFileName(QWidget* parent, const QString& title,
                                       const QString& proposed, const QString& filter,
                                       const QString& defaultSuffix);

} // namespace livrax::platform
