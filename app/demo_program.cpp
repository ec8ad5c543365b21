#include "demo_program.h"

#include "demo/demo_command.h"
#include "demo/demo_generator.h"
#include "shell/desktop.h"
#include "shell/login.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

using namespace Qt::StringLiterals;

int RunDemoProgram(const QStringList& arguments) {
    livrax::demo::CreatedDemo created;
    const int status = livrax::demo::RunDemoCommand(arguments, &created);
    if (created.erpPath.isEmpty()) return status;

    livrax::shell::Login login;
    login.user = livrax::demo::DemoUserName();
    login.level = u"9"_s;
    login.fullName = u"USUÁRIO DE DEMONSTRAÇÃO"_s;
    login.rights = QString(250, u'S');
    login.rights1 = QString(250, u'S');
    login.dirs[1] = created.erpPath;
    login.dirs[5] = created.systemPath;
    login.tempFolder = created.tempFolder;
    QString error;
    if (!livrax::shell::WriteLogin(login, &error)) {
        QTextStream(stderr) << "livrax demo: os bancos foram criados em "
                            << QFileInfo(created.erpPath).absolutePath()
                            << ", mas o usuário não foi registrado: " << error << "\n";
        return 1;
    }

    QTextStream out(stdout);
    out << "\nUsuário " << login.user << " (nível 9) registrado nesses bancos; \"livrax info\" "
        << "mostra a configuração.\n";
    if (status != 0 || !created.openProgram) return status;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QTextStream(stderr)
            << "livrax demo: não há tela disponível (DISPLAY não definido), então o programa "
               "de janelas não foi aberto. Com uma tela, \"livrax\" abre a empresa de "
               "demonstração.\n";
        return 0;
    }
    out.flush();
    return livrax::shell::RunDesktopProgram();
}
