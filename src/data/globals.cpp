#include "data/globals.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

const QStringList& FmqValueNames() {
    static const QStringList names = {u"FMQ_SIGLARQ"_s,   u"FMQ_DIR"_s,       u"FMQ_DATABASENAME"_s,
                                      u"FMQ_TABLENAME"_s, u"FMQ_FILENAME"_s,  u"FMQ_FILENAMEA"_s,
                                      u"FMQ_FILENAMEV"_s, u"FMQ_FILENAMEC"_s, u"FMQ_FILENAME0"_s,
                                      u"FMQ_OPERACAO"_s};
    return names;
}

SharedGlobals& Globals() {
    static SharedGlobals globals;
    return globals;
}

void ResetGlobals() {
    Globals() = SharedGlobals();
}

} // namespace livrax::data
