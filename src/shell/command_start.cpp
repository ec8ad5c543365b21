#include "shell/command_start.h"

#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "shell/startup.h"

#include <QTextStream>

namespace livrax::shell {

using namespace Qt::StringLiterals;

bool StartForCommand(const QString& command, QTextStream& err) {
    QString startupError;
    try {
        StartProgram([&startupError](const QString& message) { startupError = message; });
    } catch (const data::DbError& error) {
        startupError = error.message();
    }
    // A chain cut short (another database failed) leaves the company and the
    // table lists unread: what a command made then would be wrong, so it
    // makes nothing.
    if (!data::B_DIR(1)->isConnected() || !startupError.isEmpty()) {
        err << "livrax " << command << ": "
            << (startupError.isEmpty() ? u"banco de dados 1 não configurado"_s : startupError)
            << "\n";
        return false;
    }
    // Books carry the company in every page header, and the exports are the
    // company's: nothing is made without the company record.
    if (data::Globals().company.name.isEmpty()) {
        err << "livrax " << command << ": o cadastro da empresa (VRTNCAE) não pôde ser lido.\n";
        return false;
    }
    return true;
}

} // namespace livrax::shell
