#include "support/firebird_server.h"

#include "data/schema.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace livrax::test {

using namespace Qt::StringLiterals;

namespace {

const QString ServerProgram = u"/usr/sbin/firebird"_s;
const QString IsqlProgram = u"/usr/bin/isql-fb"_s;
const QString SecuritySchema = u"/usr/share/firebird/3.0/security.sql"_s;
// What the server finds in its root folder besides its configuration,
// linked to the installed files.
const QStringList InstallEntries{u"plugins"_s, u"UDF"_s, u"lib"_s, u"firebird.msg"_s,
                                 u"plugins.conf"_s};
// Copied instead: the character-set module knows no character set when it is
// loaded through a link (WIN1252 "is not defined").
const QStringList CopiedEntries{u"intl/libfbintl.so"_s, u"intl/fbintl.conf"_s};

// The installed engine's folder: the one holding the engine plug-in.
QString InstalledRoot() {
    const QDir lib(u"/usr/lib"_s);
    QStringList candidates{u"/usr/lib/firebird/3.0"_s};
    for (const QString& arch : lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        candidates.append(u"/usr/lib/"_s + arch + u"/firebird/3.0"_s);
    for (const QString& root : candidates)
        if (QFileInfo::exists(root + u"/plugins/libEngine12.so"_s)) return root;
    return {};
}

// A port of 127.0.0.1 nobody listens on now (the system picks it).
int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int port = 0;
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    const bool connected =
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

bool WriteFile(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(text.toUtf8()) >= 0 && file.flush();
}

} // namespace

FirebirdServer::~FirebirdServer() {
    stop();
}

bool FirebirdServer::fail(const QString& why) {
    m_error = u"servidor Firebird de teste: "_s + why;
    stop();
    return false;
}

QProcessEnvironment FirebirdServer::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"FIREBIRD"_s, m_root);
    environment.insert(u"FIREBIRD_LOCK"_s, m_root + u"/lock"_s);
    environment.insert(u"FIREBIRD_TMP"_s, m_root + u"/tmp"_s);
    environment.remove(u"ISC_USER"_s);
    environment.remove(u"ISC_PASSWORD"_s);
    return environment;
}

bool FirebirdServer::runIsql(const QStringList& arguments, const QByteArray& input) {
    QProcess isql;
    isql.setProcessEnvironment(environment());
    isql.setWorkingDirectory(m_root);
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(IsqlProgram, QStringList{u"-q"_s, u"-bail"_s} + arguments);
    if (!isql.waitForStarted(10000)) return fail(u"isql-fb não iniciou"_s);
    isql.write(input);
    isql.closeWriteChannel();
    if (!isql.waitForFinished(120000)) {
        isql.kill();
        isql.waitForFinished(5000);
        return fail(u"isql-fb não terminou"_s);
    }
    const QString output = QString::fromLocal8Bit(isql.readAll());
    if (isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0 ||
        output.contains(u"Statement failed"_s))
        return fail(u"isql-fb falhou: "_s + output.trimmed());
    return true;
}

bool FirebirdServer::start() {
    m_error.clear();
    if (isRunning()) return true;
    const QString installed = InstalledRoot();
    if (installed.isEmpty())
        return fail(u"motor do Firebird 3 não instalado (scripts/setup-debian.sh)"_s);
    for (const QString& program : {ServerProgram, IsqlProgram, SecuritySchema})
        if (!QFileInfo::exists(program))
            return fail(program +
                        u" ausente: instale firebird3.0-server (scripts/setup-debian.sh)"_s);
    if (!m_dir.isValid()) return fail(u"sem pasta temporária"_s);
    m_root = m_dir.path();
    QDir root(m_root);
    if (!root.mkpath(u"lock"_s) || !root.mkpath(u"tmp"_s) || !root.mkpath(u"data"_s) ||
        !root.mkpath(u"intl"_s))
        return fail(u"não criou as pastas em "_s + m_root);
    for (const QString& entry : InstallEntries) {
        const QString target = installed + u'/' + entry;
        if (QFileInfo::exists(target) && !QFileInfo::exists(root.filePath(entry)) &&
            !QFile::link(target, root.filePath(entry)))
            return fail(u"não ligou "_s + target);
    }
    for (const QString& entry : CopiedEntries) {
        const QString source = installed + u'/' + entry;
        if (!QFile::copy(source, root.filePath(entry))) return fail(u"não copiou "_s + source);
    }
    m_port = FreePort();
    if (m_port == 0) return fail(u"nenhuma porta livre"_s);
    const QString security = root.filePath(u"security3.fdb"_s);
    const QString config = u"RemoteServicePort = "_s + QString::number(m_port) +
                           u"\nRemoteBindAddress = 127.0.0.1\nRemoteAuxPort = 0\n"
                           u"ServerMode = Super\nSecurityDatabase = "_s +
                           security + u"\nTempDirectories = "_s + root.filePath(u"tmp"_s) + u"\n"_s;
    if (!WriteFile(root.filePath(u"firebird.conf"_s), config) ||
        !WriteFile(root.filePath(u"databases.conf"_s), u"security.db = "_s + security + u'\n'))
        return fail(u"não gravou a configuração em "_s + m_root);

    // The security database, made as the package makes the system's, with a
    // SYSDBA password of this run.
    m_password = u"lx"_s + QString::number(QRandomGenerator::global()->generate(), 36);
    const auto quoted = [](const QString& text) {
        return (u'\'' + QString(text).replace(u'\'', u"''"_s) + u'\'').toUtf8();
    };
    if (!runIsql({}, "CREATE DATABASE " + quoted(security) + ";\n")) return false;
    QFile schema(SecuritySchema);
    if (!schema.open(QIODevice::ReadOnly)) return fail(u"não leu "_s + SecuritySchema);
    if (!runIsql({u"-user"_s, u"SYSDBA"_s, security}, schema.readAll())) return false;
    if (!runIsql({u"-user"_s, u"SYSDBA"_s, security},
                 "CREATE OR ALTER USER SYSDBA PASSWORD " + quoted(m_password) + ";\n"))
        return false;

    m_process.setProcessEnvironment(environment());
    m_process.setWorkingDirectory(m_root);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // A test that aborts (no destructor runs) takes its server with it.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.start(ServerProgram, {});
    if (!m_process.waitForStarted(10000)) return fail(ServerProgram + u" não iniciou"_s);
    const QDeadlineTimer deadline(30000);
    while (!Accepts(m_port)) {
        if (m_process.state() != QProcess::Running)
            return fail(ServerProgram + u" terminou: "_s +
                        QString::fromLocal8Bit(m_process.readAll()).trimmed());
        if (deadline.hasExpired())
            return fail(u"a porta "_s + QString::number(m_port) + u" não abriu"_s);
        QThread::msleep(50);
    }
    return true;
}

void FirebirdServer::stop() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(15000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString FirebirdServer::databasePath(const QString& fileName) const {
    return u"127.0.0.1/"_s + QString::number(m_port) + u':' + m_root + u"/data/"_s + fileName;
}

data::ConnectionOptions FirebirdServer::options(const QString& fileName) const {
    data::ConnectionOptions options;
    options.path = databasePath(fileName);
    options.user = user();
    options.password = m_password;
    options.forcedWrites = false; // a test database need not survive a crash
    return options;
}

void FirebirdServer::createDatabase(const QString& fileName, TestDatabase::Tables tables) const {
    data::Connection connection;
    if (tables == TestDatabase::Tables::All)
        data::CreateDatabaseWithSchema(connection, options(fileName),
                                       {data::SchemaPart::Erp, data::SchemaPart::System});
    else
        data::CreateDatabaseWithSchema(connection, options(fileName), {data::SchemaPart::System});
    connection.close();
}

} // namespace livrax::test
