#include "data/globals.h"

namespace livrax::data {

const QStringList& FmqValueNames() {
    static const QStringList names = {
        QStringLiteral("FMQ_SIGLARQ"),   QStringLiteral("FMQ_DIR"),
        QStringLiteral("FMQ_DATABASENAME"), QStringLiteral("FMQ_TABLENAME"),
        QStringLiteral("FMQ_FILENAME"),  QStringLiteral("FMQ_FILENAMEA"),
        QStringLiteral("FMQ_FILENAMEV"), QStringLiteral("FMQ_FILENAMEC"),
        QStringLiteral("FMQ_FILENAME0"), QStringLiteral("FMQ_OPERACAO")};
    return names;
}

SharedGlobals& Globals() {
    static SharedGlobals globals;
    return globals;
}

void ResetGlobals() { Globals() = SharedGlobals(); }

} // namespace livrax::data
