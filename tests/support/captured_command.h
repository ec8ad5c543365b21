#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace livrax::test {

// What a command printed and returned, run with its output captured and a
// stand-in for its database start-up that only notes it was called.
struct CapturedRun {
    int status = -1;
    QString out, err;
    bool connected = false;
};

using CommandWithStreams = int (*)(const QStringList&, QTextStream&, QTextStream&,
                                   const std::function<QString()>&);

inline CapturedRun RunCaptured(CommandWithStreams command, const QStringList& arguments) {
    CapturedRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = command(arguments, out, err, [&run] {
        run.connected = true;
        return QString();
    });
    out.flush();
    err.flush();
    return run;
}

} // namespace livrax::test
