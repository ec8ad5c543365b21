#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace livrax::test {

// Runs a command-line tool (pdfinfo, pdftotext...) and gives what it wrote
// to standard output; empty when it did not finish within 30 seconds or
// could not start. Header-only, so that tests without the database support
// use it too.
inline QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace livrax::test
