#include "platform/dialogs.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace livrax::platform {

std::optional<QString> InputText(QWidget* parent, const QString& title, const QString& prompt,
                                 const QString& text) {
    QInputDialog dialog(parent);
    dialog.setObjectName(u"TF_INPUT"_s);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(text);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

void ShowError(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message,
                    QMessageBox::Ok, parent);
    box.setObjectName(u"ERROR_BOX"_s);
    box.exec();
}

void ShowMessage(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(), message,
                    QMessageBox::Ok, parent);
    box.setObjectName(u"MESSAGE_BOX"_s);
    box.exec();
}

bool InstallStandardTranslations() {
    // One translator for the whole run, owned by the application object.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(u"qtbase_pt_BR"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace livrax::platform
