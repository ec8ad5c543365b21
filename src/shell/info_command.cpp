#include "shell/info_command.h"

#include "common/fields.h"
#include "data/catalogue.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "shell/startup.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace livrax::shell {

int RunInfoCommand(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!arguments.isEmpty()) {
        if (arguments.first() == u"--help"_s) {
            out << "Uso: livrax info\nMostra o usuário, os bancos de dados e a empresa com que o "
                   "programa inicia.\n";
            return 0;
        }
        err << "livrax info: argumento inesperado \"" << arguments.first() << "\"\n";
        return 2;
    }
    bool chainFailed = false;
    try {
        StartProgram([&err](const QString& message) { err << message << "\n"; });
    } catch (const data::DbError& error) {
        err << "livrax info: " << error.message() << "\n";
        chainFailed = true;
    }

    const data::SharedGlobals& globals = data::Globals();
    data::TF_OPEN& module = data::DataModule();
    out << "Usuário:        " << (globals.user.name.isEmpty() ? u"(nenhum)"_s : globals.user.name);
    if (!globals.user.fullName.isEmpty()) out << " - " << globals.user.fullName;
    out << ", nível " << (globals.user.level.isEmpty() ? u"?"_s : globals.user.level)
        << "\n\nBancos de dados:\n";
    for (int n = 1; n <= 5; ++n) {
        data::Connection& connection = module.connection(n);
        const QString path = globals.registry.dirs[std::size_t(n)];
        out << "  B_DIR" << n << "  ";
        if (path.isEmpty()) {
            out << "(não configurado)\n";
            continue;
        }
        out << path << "\n          ";
        if (connection.isConnected()) {
            out << "conectado, " << data::ListTables(QString(), &connection).size() << " tabelas\n";
        } else if (!module.openErrors[std::size_t(n)].isEmpty()) {
            out << "não conectado: " << module.openErrors[std::size_t(n)] << "\n";
        } else {
            out << "não conectado (não aberto depois da falha de outro banco)\n";
        }
    }
    const data::TRecCae& company = globals.company;
    out << "\nEmpresa:        "
        << (company.name.isEmpty() ? u"(cadastro não encontrado)"_s : company.name)
        << "\nCNPJ:           " << company.cnpj << "\nCódigo:         " << company.companyCode
        << "\nPasta temporária: " << globals.user.tempFolder << "\n";

    const bool firstMissing = !module.connection(1).isConnected();
    RunShutdown();
    return firstMissing || chainFailed ? 1 : 0;
}

} // namespace livrax::shell
