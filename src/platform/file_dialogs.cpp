#include "platform/file_dialogs.h"

#include <QFileDialog>

namespace livrax::platform {

using namespace Qt::StringLiterals;

std::optional<QString> AskSaveFileName(QWidget* parent, const QString& title,
                                       const QString& proposed, const QString& filter,
                                       const QString& defaultSuffix) {
    QFileDialog dialog(parent, title, proposed, filter);
    dialog.setObjectName(u"SAVE_FILE"_s);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
    return chosen.first();
}

} // namespace livrax::platform
