#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace livrax::shell {

// What the suite's log-in program writes for a user before any program of
// the suite starts.
struct Login {
    QString user;
    QString level;               // "1".."9"
    std::array<QString, 6> dirs; // database paths 1..5 at [1]..[5]
    QString fullName;
    QString rights;
    QString rights1;
    QString tempFolder;
};

// Writes the globals key as the log-in program does. False when the user's
// settings could not be written; `error` then says where they should have
// gone.
bool WriteLogin(const Login& login, QString* error = nullptr);

QString LoginUsage();

// "livrax login": logs a user in on the given databases. Returns the exit
// status.
int RunLoginCommand(const QStringList& arguments);

} // namespace livrax::shell
