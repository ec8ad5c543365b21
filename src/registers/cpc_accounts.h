#pragma once
// The accounts per customer and operation (CPC, VRTNCPC or its per-company
// copy such as VRTNCPC001): for a customer or cost centre (SIGLA) and a CFOP
// or financial operation (NATOPER), the accounts, standard histories and
// history texts used when movements are posted to accounting. Rows are keyed
// by SEQ and FILIAL.

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

namespace livrax::registers {

// The text columns of a row, in the order the update writes them (NETLOG,
// set by every save, is not among them).
const QStringList& CpcTextColumns();

struct CpcRecord {
    qint64 seq = 0; // 0: not stored yet
    qint64 filial = 0;
    std::map<QString, QString> texts; // by column

    QString text(const QString& column) const;
};

QString CpcTableName();

// Every row, ordered by SIGLA and NATOPER (then SEQ). Throws DbError.
std::vector<CpcRecord> LoadCpcRecords();

// "A Natureza de Operação ou Sigla deve ser informada." when both SIGLA and
// NATOPER are blank; empty otherwise.
QString CpcSaveProblem(const CpcRecord& record);

// What another station does between reading the next SEQ and inserting it;
// for tests.
using BeforeCpcInsert = std::function<void(qint64 seq)>;

// Saves the record in one transaction and returns its SEQ. A record without
// SEQ gets the greatest SEQ plus one and FILIAL 0; when another station took
// that SEQ meanwhile the next one is used. The row is then written by its
// SEQ and FILIAL with NETLOG "A". Nothing is stored when a step fails.
// Throws DbError.
qint64 SaveCpcRecord(const CpcRecord& record, const BeforeCpcInsert& beforeInsert = {});

// The captions beside the fields: the partner's name (EMP.EMPRESA by
// SIGLA), the nature's description (NAT.DESCRICAO by NATOPER), the account's
// name (FindAccount with SA "A"), the standard history (CBH.HISTORICO by
// NUMERO); "___" when the field is blank or nothing is found.
QString PartnerCaption(const QString& sigla);
QString NatureCaption(const QString& natoper);
QString AccountCaption(const QString& account);
QString HistoryCaption(const QString& number);

// The condition on the plan of accounts for a receivables or payables
// account field holding `typed`: the text anywhere in CONTA, NOME, CCUSTO,
// ADIC, CONTAF or CBSIGLA, quoted; empty for a blank text.
QString AccountSearchFilter(const QString& typed);

// The cost centres of CUS but the placeholder "+++++", sorted.
QStringList CostCentres();

// Deletes the row of that SEQ and FILIAL (audit-logged). False on failure.
bool DeleteCpcRecord(qint64 seq, qint64 filial);

} // namespace livrax::registers
