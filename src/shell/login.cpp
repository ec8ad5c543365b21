#include "shell/login.h"

#include "platform/registry.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace livrax::shell {

void WriteLogin(const Login& login) {
    platform::RegistryKey key(platform::GlobalsKeyPath());
    key.setValue(QStringLiteral("GB_SEN_USER"), login.user);
    key.setValue(QStringLiteral("GB_SEN_NOMEC"), login.fullName);
    key.setValue(QStringLiteral("GB_SEN_NIVEL"), login.level);
    key.setValue(QStringLiteral("GB_SEN_SENHA"), QString());
    key.setValue(QStringLiteral("GB_SEN_GERAL"), login.rights);
    key.setValue(QStringLiteral("GB_SEN_GERAL1"), login.rights1);
    for (int n = 1; n <= 5; ++n)
        key.setValue(QStringLiteral("GB_DIR") + QString::number(n), login.dirs[std::size_t(n)]);
    key.setValue(QStringLiteral("GB_DIRDEFAULT"), login.dirs[1]);
    key.setValue(QStringLiteral("GB_DIRTEMP"), login.tempFolder);
}

QString LoginUsage() {
    return QStringLiteral("login --user U --level N --db1 CAMINHO [--db2 .. --db5 CAMINHO] "
                          "[--name TEXTO] [--rights TEXTO] [--rights1 TEXTO] [--temp PASTA]");
}

int RunLoginCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Registra o usuário e os bancos de dados com que os programas do sistema vão "
        "trabalhar, como faz o programa de entrada do sistema. Um caminho simples abre o "
        "banco localmente; servidor:caminho usa um servidor."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("user"), QStringLiteral("Nome do usuário."), QStringLiteral("U")});
    parser.addOption({QStringLiteral("level"), QStringLiteral("Nível de acesso, 1 a 9."), QStringLiteral("N")});
    for (int n = 1; n <= 5; ++n)
        parser.addOption({QStringLiteral("db") + QString::number(n),
                          QStringLiteral("Banco de dados ") + QString::number(n) + u'.',
                          QStringLiteral("CAMINHO")});
    parser.addOption({QStringLiteral("name"), QStringLiteral("Nome completo do usuário."), QStringLiteral("TEXTO")});
    parser.addOption({QStringLiteral("rights"), QStringLiteral("Direitos gerais."), QStringLiteral("TEXTO")});
    parser.addOption({QStringLiteral("rights1"), QStringLiteral("Direitos gerais 1."), QStringLiteral("TEXTO")});
    parser.addOption({QStringLiteral("temp"), QStringLiteral("Pasta temporária."), QStringLiteral("PASTA")});
    QTextStream err(stderr);
    if (!parser.parse(QStringList{QStringLiteral("livrax login")} + arguments)) {
        err << "livrax login: " << parser.errorText() << "\n";
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    Login login;
    login.user = parser.value(QStringLiteral("user")).trimmed();
    login.level = parser.value(QStringLiteral("level")).trimmed();
    for (int n = 1; n <= 5; ++n)
        login.dirs[std::size_t(n)] = parser.value(QStringLiteral("db") + QString::number(n));
    login.fullName = parser.value(QStringLiteral("name"));
    login.rights = parser.value(QStringLiteral("rights"));
    login.rights1 = parser.value(QStringLiteral("rights1"));
    login.tempFolder = parser.value(QStringLiteral("temp"));
    if (!parser.positionalArguments().isEmpty()) {
        err << "livrax login: argumento inesperado \"" << parser.positionalArguments().first()
            << "\"\n";
        return 2;
    }
    if (login.user.isEmpty() || login.user.size() > 20) {
        err << "livrax login: informe --user com até 20 caracteres.\n";
        return 2;
    }
    if (login.level.size() != 1 || login.level < QStringLiteral("1") ||
        login.level > QStringLiteral("9")) {
        err << "livrax login: --level deve ser um dígito de 1 a 9.\n";
        return 2;
    }
    if (login.dirs[1].isEmpty()) {
        err << "livrax login: informe o banco de dados 1 (--db1).\n";
        return 2;
    }
    WriteLogin(login);
    QTextStream(stdout) << "Usuário " << login.user << " (nível " << login.level
                        << ") registrado para o banco " << login.dirs[1] << ".\n";
    return 0;
}

} // namespace livrax::shell
