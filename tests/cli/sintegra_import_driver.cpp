// Runs "livrax sintegra import" as the executable will once the command is
// wired under "livrax sintegra": the same application set-up, then the
// command with the arguments that follow "sintegra import".

#include "platform/dialogs.h"
#include "platform/stop_signals.h"
#include "shell/sintegra_import_command.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
    livrax::platform::InstallStopSignals();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"livrax"_s);
    QCoreApplication::setOrganizationName(u"livrax"_s);
    livrax::platform::InstallStandardTranslations();
    return livrax::shell::RunSintegraImportCommand(QCoreApplication::arguments().mid(1));
}
