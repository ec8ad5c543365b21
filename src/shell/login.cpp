#include "shell/login.h"

#include "platform/registry.h"

#include <QCommandLineParser>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace livrax::shell {

bool WriteLogin(const Login& login, QString* error) {
    platform::RegistryKey key(platform::GlobalsKeyPath());
    bool written = true;
    const auto set = [&key, &written](const QString& name, const QString& value) {
        written = key.setValue(name, value) && written;
    };
    set(u"GB_SEN_USER"_s, login.user);
    set(u"GB_SEN_NOMEC"_s, login.fullName);
    set(u"GB_SEN_NIVEL"_s, login.level);
    set(u"GB_SEN_SENHA"_s, QString());
    set(u"GB_SEN_GERAL"_s, login.rights);
    set(u"GB_SEN_GERAL1"_s, login.rights1);
    for (int n = 1; n <= 5; ++n)
        set(u"GB_DIR"_s + QString::number(n), login.dirs[std::size_t(n)]);
    set(u"GB_DIRDEFAULT"_s, login.dirs[1]);
    set(u"GB_DIRTEMP"_s, login.tempFolder);
    if (!written && error)
        *error = u"as configurações do usuário não puderam ser gravadas em "_s + key.location();
    return written;
}

QString LoginUsage() {
    return u"login --user U --level N --db1 CAMINHO [--db2 .. --db5 CAMINHO] "
           "[--name TEXTO] [--rights TEXTO] [--rights1 TEXTO] [--temp PASTA]"_s;
}

int RunLoginCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Registra o usuário e os bancos de dados com que os programas do sistema vão "
        "trabalhar, como faz o programa de entrada do sistema. Um caminho simples abre o "
        "banco localmente; servidor:caminho usa um servidor."_s);
    parser.addHelpOption();
    parser.addOption({u"user"_s, u"Nome do usuário."_s, u"U"_s});
    parser.addOption({u"level"_s, u"Nível de acesso, 1 a 9."_s, u"N"_s});
    for (int n = 1; n <= 5; ++n)
        parser.addOption({u"db"_s + QString::number(n),
                          u"Banco de dados "_s + QString::number(n) + u'.', u"CAMINHO"_s});
    parser.addOption({u"name"_s, u"Nome completo do usuário."_s, u"TEXTO"_s});
    parser.addOption({u"rights"_s, u"Direitos gerais."_s, u"TEXTO"_s});
    parser.addOption({u"rights1"_s, u"Direitos gerais 1."_s, u"TEXTO"_s});
    parser.addOption({u"temp"_s, u"Pasta temporária."_s, u"PASTA"_s});
    QTextStream err(stderr);
    if (!parser.parse(QStringList{u"livrax login"_s} + arguments)) {
        err << "livrax login: " << parser.errorText() << "\n";
        return 2;
    }
    if (parser.isSet(u"help"_s)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    Login login;
    login.user = parser.value(u"user"_s).trimmed();
    login.level = parser.value(u"level"_s).trimmed();
    for (int n = 1; n <= 5; ++n)
        login.dirs[std::size_t(n)] = parser.value(u"db"_s + QString::number(n));
    login.fullName = parser.value(u"name"_s);
    login.rights = parser.value(u"rights"_s);
    login.rights1 = parser.value(u"rights1"_s);
    login.tempFolder = parser.value(u"temp"_s);
    if (!parser.positionalArguments().isEmpty()) {
        err << "livrax login: argumento inesperado \"" << parser.positionalArguments().first()
            << "\"\n";
        return 2;
    }
    if (login.user.isEmpty() || login.user.size() > 20) {
        err << "livrax login: informe --user com até 20 caracteres.\n";
        return 2;
    }
    if (login.level.size() != 1 || login.level < u"1"_s || login.level > u"9"_s) {
        err << "livrax login: --level deve ser um dígito de 1 a 9.\n";
        return 2;
    }
    if (login.dirs[1].isEmpty()) {
        err << "livrax login: informe o banco de dados 1 (--db1).\n";
        return 2;
    }
    QString error;
    if (!WriteLogin(login, &error)) {
        err << "livrax login: " << error << "\n";
        return 1;
    }
    QTextStream(stdout) << "Usuário " << login.user << " (nível " << login.level
                        << ") registrado para o banco " << login.dirs[1] << ".\n";
    return 0;
}

} // namespace livrax::shell
