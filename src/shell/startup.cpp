#include "shell/startup.h"

#include "common/fields.h"
#include "data/audit_log.h"
#include "data/catalogue.h"
#include "data/company_header.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/queries.h"
#include "data/routing.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/registry.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace livrax::shell {

using data::B_DIR;
using data::Globals;
using data::ParamLines;

namespace {

// The database log-in: the deployment's own when the globals key or the
// environment names one, else the suite's.
data::ConnectionOptions OptionsFor(const QString& path) {
    const data::RegistryValues& registry = Globals().registry;
    data::ConnectionOptions options;
    options.path = path;
    options.user = !registry.dbUser.isEmpty() ? registry.dbUser
                   : qEnvironmentVariableIsSet("LIVRAX_DB_USER")
                       ? qEnvironmentVariable("LIVRAX_DB_USER")
                       : u"SYSDBA"_s;
    options.password = !registry.dbPassword.isEmpty() ? registry.dbPassword
                       : qEnvironmentVariableIsSet("LIVRAX_DB_PASSWORD")
                           ? qEnvironmentVariable("LIVRAX_DB_PASSWORD")
                           : u"quillbarn"_s;
    return options;
}

QString WithSeparator(QString folder) {
    if (!platform::EndsWithSeparator(folder)) folder += platform::FolderSeparatorFor(folder);
    return folder;
}

} // namespace

void RunStartup(const MessageSink& show) {
    // The number and date formats are fixed by the text library itself
    // (decimal comma, dd/MM/yy, the two-digit-year window), whatever the
    // system's settings say.
    LoadRegistryGlobals();
    ConnectDatabases(show);
    LoadTableLists();
    data::LoadCompanyHeader();
    LoadUserSettings();
}

void StartProgram(const MessageSink& show) {
    RunStartup(show);
    data::LoadCompanyHeader();
    RestoreLastCompany();
}

void LoadRegistryGlobals() {
    const platform::RegistryKey key(platform::GlobalsKeyPath());
    data::RegistryValues& registry = Globals().registry;
    data::TRecUser& user = Globals().user;
    const auto read = [&key](const char* name, QString& target, int length = 0) {
        if (const auto value = key.value(QString::fromLatin1(name)))
            target = length > 0 ? value->left(length) : *value;
    };
    read("GB_SISTEMA", registry.system);
    read("GB_SISTEMAC", registry.systemCompanion);
    read("GB_SEN_USER", user.name, 20);
    read("GB_SEN_NOMEC", user.fullName, 40);
    read("GB_SEN_NIVEL", user.level, 1);
    read("GB_SEN_GERAL", user.rights, 250);
    read("GB_SEN_GERAL1", user.rights1, 250);
    read("GB_SEN_DEPART", user.department, 4);
    read("GB_DIRDEFAULT", registry.dirDefault);
    for (int n = 1; n <= 5; ++n) {
        if (const auto value = key.value(u"GB_DIR"_s + QString::number(n)))
            registry.dirs[std::size_t(n)] = *value;
    }
    read("GB_DIRTEMP", registry.dirTemp);
    read("PROGRAMA", registry.program);
    read("WPAR", registry.wpar);
    read("GBPARAM", registry.gbParam);
    for (int i = 0; i < data::FmqValueNames().size(); ++i) {
        if (const auto value = key.value(data::FmqValueNames()[i]))
            registry.fmq[std::size_t(i)] = *value;
    }
    if (const auto value = key.value(u"FMQ_PRINTED"_s)) registry.fmqPrinted = *value == u"S"_s;
    if (const auto value = key.value(u"FMQ_CLOSE"_s)) registry.fmqClose = *value == u"S"_s;
    if (const auto value = key.value(u"FMQ_MENUITEM"_s)) registry.fmqMenuItem = ToInt(*value);
    if (const auto value = key.value(u"GBCAMPO"_s)) {
        const QStringList fields = SplitToList(*value, 10);
        for (std::size_t i = 0; i < registry.campos.size(); ++i)
            registry.campos[i] = fields.value(qsizetype(i));
    }
    read("GB_DBUSER", registry.dbUser);
    read("GB_DBPASSWORD", registry.dbPassword);
}

void LaunchProgram(const QString& name, const QString& param) {
    SaveRegistryGlobals(name, param);
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    platform::StartSiblingProgram(name, param,
                                  {Globals().user.tempFolder,
                                   QCoreApplication::applicationDirPath(),
                                   Globals().registry.dirs[1]});
}

void SaveRegistryGlobals(const QString& program, const QString& param) {
    platform::RegistryKey key(platform::GlobalsKeyPath());
    const data::RegistryValues& registry = Globals().registry;
    const data::TRecUser& user = Globals().user;
    QStringList campos;
    for (const QString& value : registry.campos)
        campos << value;
    const QString campo = JoinFields(campos, 10);
    key.setValue(u"GB_SISTEMA"_s, registry.system);
    key.setValue(u"GB_SISTEMAC"_s, registry.systemCompanion);
    key.setValue(u"GB_SEN_USER"_s, user.name);
    key.setValue(u"GB_SEN_NOMEC"_s, user.fullName);
    key.setValue(u"GB_SEN_NIVEL"_s, user.level);
    key.setValue(u"GB_SEN_SENHA"_s, user.password.trimmed());
    key.setValue(u"GB_SEN_GERAL"_s, user.rights);
    key.setValue(u"GB_SEN_GERAL1"_s, user.rights1);
    key.setValue(u"GB_DIRDEFAULT"_s, registry.dirDefault);
    for (int n = 1; n <= 5; ++n)
        key.setValue(u"GB_DIR"_s + QString::number(n), registry.dirs[std::size_t(n)]);
    key.setValue(u"GB_DIRTEMP"_s, registry.dirTemp);
    key.setValue(u"PROGRAMA"_s, program);
    key.setValue(u"PARAM"_s, param);
    key.setValue(u"GBPARAM"_s, registry.gbParam);
    key.setValue(u"GBCAMPO"_s, campo);
    if (!registry.fmq[0].isEmpty()) {
        for (int i = 0; i < data::FmqValueNames().size(); ++i)
            key.setValue(data::FmqValueNames()[i], registry.fmq[std::size_t(i)]);
    }
    key.setValue(u"FMQ_PRINTED"_s, registry.fmqPrinted ? u"S"_s : u"N"_s);
    key.setValue(u"FMQ_CLOSE"_s, registry.fmqClose ? u"S"_s : u"N"_s);
    key.setValue(u"FMQ_MENUITEM"_s, QString::number(registry.fmqMenuItem));
    key.setValue(u"GBCAMPO"_s, campo);
}

void ConnectDatabases(const MessageSink& show) {
    data::TF_OPEN& module = data::DataModule();
    for (int n : {1, 5, 2, 3, 4}) {
        const QString path = Globals().registry.dirs[std::size_t(n)];
        if (path.isEmpty()) continue;
        data::Connection& connection = module.connection(n);
        try {
            connection.close();
            connection.open(OptionsFor(path));
            module.openErrors[std::size_t(n)].clear();
        } catch (const data::ConnectError& error) {
            module.openErrors[std::size_t(n)] = error.message();
            if (n != 1) throw;
            // Without database 1 nothing else is opened; the program stays up
            // with what the remaining steps can load.
            if (show) show(u"Erro na conexão do servidor - "_s + path + u": "_s + error.reason());
            return;
        }
    }
}

void LoadTableLists() {
    for (QString& list : Globals().tableLists)
        list.clear();
    for (int n : {1, 2, 3, 5}) {
        data::Connection* connection = B_DIR(n);
        if (!connection->isConnected()) continue;
        QString list;
        for (const QString& name : data::ListTables(QString(), connection))
            list += name + u',';
        Globals().tableLists[std::size_t(n)] = list;
    }
}

void LoadUserSettings() {
    data::TRecUser& user = Globals().user;
    data::ParamRead(B_DIR(1), u"PUSER_"_s + user.name, 20);
    user.flags = PadRight(ParamLines().line(1), 20);
    if (user.flags.at(4) == u' ') user.flags[4] = u'3';
    QString folder = ParamLines().line(2).trimmed();
    for (int i = 0; i < 8; ++i)
        user.texts[std::size_t(i)] = ParamLines().line(10 + i);
    if (folder.isEmpty()) folder = platform::DefaultTempFolder();
    user.tempFolder = WithSeparator(folder);
    Globals().registry.dirTemp = user.tempFolder;
    LoadUserRights(user.name);
}

bool SaveUserSettings() {
    data::TRecUser& user = Globals().user;
    user.tempFolder =
        WithSeparator(user.tempFolder.isEmpty() ? platform::DefaultTempFolder() : user.tempFolder);
    const QString key = u"PUSER_"_s + user.name;
    data::ParamRead(B_DIR(1), key, 20);
    ParamLines().setLine(1, user.flags);
    ParamLines().setLine(2, user.tempFolder);
    for (int i = 0; i < 8; ++i)
        ParamLines().setLine(10 + i, user.texts[std::size_t(i)]);
    for (int n = 18; n <= 20; ++n)
        ParamLines().setLine(n, QString());
    return data::ParamWrite(B_DIR(1), key, 20);
}

void LoadUserRights(const QString& userName) {
    data::TRecUser& user = Globals().user;
    data::ParamRead(data::DatabaseFor(u"SEN"_s), u"SEN__"_s + userName, 20);
    user.numberText = FormatDecimal(ParamLines().line(9), 6, 2);
    for (int i = 0; i < 7; ++i)
        user.rightsLines[std::size_t(i)] = PadRight(ParamLines().line(10 + i), 50);
    if (user.rightsLines[1].trimmed().isEmpty()) user.rightsLines[1] = user.rights1.left(50);
}

void RestoreLastCompany() {
    const QString key = u"USUARIO_"_s + Globals().user.name;
    if (!data::ParamRead(data::ParamDatabase(), key, 10)) return;
    const QString line = ParamLines().line(1);
    if (!line.isEmpty()) Globals().company.companyCode = ZeroPad(line.left(3), 3);
}

void LogLogoff() {
    if (!B_DIR(1)->isConnected()) return;
    data::AuditLog(u"LOGOFF"_s, Quote(Globals().user.name) + u" - "_s + platform::OsUserName());
}

void RunShutdown() {
    try {
        if (!B_DIR(1)->isConnected()) return;
        LogLogoff();
        data::Connection* store = data::ParamDatabase();
        if (store->isConnected()) {
            const QString key = u"USUARIO_"_s + Globals().user.name;
            data::ParamRead(store, key, 10);
            ParamLines().setLine(1, Globals().company.companyCode);
            data::ParamWrite(store, key, 10);
        }
        data::CommitAll();
    } catch (...) {
        // Shutting down goes on whatever failed.
    }
    data::TF_OPEN& module = data::DataModule();
    for (int n = 0; n <= 5; ++n)
        module.connection(n).close();
}

} // namespace livrax::shell
