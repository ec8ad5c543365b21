#include "reports/report_files.h"

#include "common/fields.h"
#include "common/line_files.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/param_store.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "reports/key_lines.h"
#include "reports/report_encoding.h"
#include "reports/report_menu.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <array>

using namespace Qt::StringLiterals;

namespace livrax::reports {

namespace {

const QString Extension = u".FMB"_s;
// The letters of a report's keys, in the order they are exported and stored.
constexpr std::array<QChar, 3> Letters = {u'A', u'C', u'V'};

// Whether the key is stored, asked in `transaction`. Throws DbError.
bool KeyExists(data::Transaction& transaction, const QString& key) {
    data::Statement count(*transaction.connection(), transaction,
                          u"SELECT COUNT(*) FROM VRTNPAR WHERE CHAVE = :P_CHAVE"_s);
    count.bind(u"P_CHAVE"_s, key);
    count.open();
    return count.fetch() && count.value(0).toInt() > 0;
}

void ToSharedLines(const QStringList& lines) {
    for (int n = 1; n <= data::ParamLineArray::Size; ++n)
        data::ParamLines().setLine(n, lines.value(n - 1));
}

} // namespace

bool ExportReportFiles(const ReportMenu& menu, int number, const QString& folder) {
    std::array<QStringList, Letters.size()> keyLines;
    std::array<QString, Letters.size()> keys = {
        DefinitionKey(menu, number), CompanionKey(menu, number), SelectionKey(menu, number)};
    // Everything is read before anything is written: a report without a
    // definition leaves no files behind.
    for (std::size_t i = 0; i < Letters.size(); ++i) {
        const bool found = ReadKeyLines(menu.database, keys[i], keyLines[i]);
        if (i == 0 && !found) return false;
    }
    const QDir dir(folder);
    for (std::size_t i = 0; i < Letters.size(); ++i) {
        if (!WriteLinesFile(dir.filePath(keys[i] + Extension), keyLines[i])) return false;
    }
    return true;
}

ImportResult ImportReportFiles(data::Connection* database, const QString& file, bool replace) {
    ImportResult result;
    const QFileInfo info(file);
    const QString name = info.fileName();
    // menu key + three-digit number + "A.FMB", in any case.
    static const QRegularExpression definitionName(u"^(.+\\d{3})(A)(\\.FMB)$"_s,
                                                   QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = definitionName.match(name);
    if (!match.hasMatch()) {
        result.outcome = ImportOutcome::BadName;
        return result;
    }

    // The companions keep the case of the definition's name: "...a.fmb"
    // has "...c.fmb" and "...v.fmb" beside it.
    const bool lower = match.captured(2) == u"a"_s;
    std::array<QString, Letters.size()> paths, keys;
    std::array<QStringList, Letters.size()> lines;
    for (std::size_t i = 0; i < Letters.size(); ++i) {
        const QString letter = lower ? QString(Letters[i]).toLower() : QString(Letters[i]);
        paths[i] = info.dir().filePath(match.captured(1) + letter + match.captured(3));
        keys[i] = (match.captured(1) + Letters[i]).toUpper();
    }
    result.key = keys[0];

    for (std::size_t i = 0; i < Letters.size(); ++i) {
        if (!QFileInfo(paths[i]).isFile() || !ReadLinesFile(paths[i], lines[i]))
            result.missing.append(paths[i]);
    }
    if (!result.missing.isEmpty()) {
        result.outcome = ImportOutcome::MissingCompanion;
        return result;
    }
    result.title = StoredTitle(LineFields(lines[0].value(0), 1).at(1));

    if (!database || !database->isConnected()) return result;
    try {
        data::Transaction transaction(*database);
        if (!replace) {
            for (const QString& key : keys) {
                if (KeyExists(transaction, key)) {
                    result.outcome = ImportOutcome::Exists;
                    return result;
                }
            }
        }
        for (std::size_t i = 0; i < Letters.size(); ++i) {
            ToSharedLines(lines[i]);
            if (!data::ParamWrite(transaction, keys[i], 0, i == 0 ? result.title : QString()))
                return result; // the transaction rolls back: none is stored
        }
        transaction.commit();
        result.outcome = ImportOutcome::Imported;
    } catch (const data::DbError&) {
        result.outcome = ImportOutcome::NotWritten;
    }
    return result;
}

} // namespace livrax::reports
