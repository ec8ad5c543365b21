// Holds a database open until its standard input closes: another program
// using the file, for the tests of what the program says then. Prints
// "aberto" once attached; exits with status 1 (and the reason) when it
// cannot attach.

#include "data/connection.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("uso: hold_database CAMINHO\n", stderr);
        return 2;
    }
    livrax::data::Connection connection;
    livrax::data::ConnectionOptions options;
    options.path = QString::fromLocal8Bit(argv[1]);
    try {
        connection.open(options);
    } catch (const livrax::data::DbError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::puts("aberto");
    std::fflush(stdout);
    char buffer[64];
    while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
    }
    return 0;
}
