#include "shell/command_start.h"

#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "shell/startup.h"

#include <QTextStream>

namespace livrax::shell {

using namespace Qt::StringLiterals;

QString StartForCommand() {
    QString startupError;
    try {
        StartProgram([&startupError](const QString& message) { startupError = message; });
    } catch (const data::DbError& error) {
        startupError = error.message();
    }
    // A chain cut short (another database failed) leaves the company and the
    // table lists unread: what a command made then would be wrong, so it
    // makes nothing.
    if (!startupError.isEmpty()) return startupError;
    if (!data::B_DIR(1)->isConnected()) return u"banco de dados 1 não configurado"_s;
    // Books carry the company in every page header, and the exports are the
    // company's: nothing is made without the company record.
    if (data::Globals().company.name.isEmpty())
        return u"o cadastro da empresa (VRTNCAE) não pôde ser lido."_s;
    return {};
}

bool StartForCommand(const QString& command, QTextStream& err) {
    const QString problem = StartForCommand();
    if (!problem.isEmpty()) err << "livrax " << command << ": " << problem << "\n";
    return problem.isEmpty();
}

} // namespace livrax::shell
