#pragma once
// The SINTEGRA reversal: a SINTEGRA file (this program's or another's) read
// back into document rows, its counterparts matched to partners by CNPJ, and
// its record-50 documents imported as invoices into VRTNPDE (entries) and
// VRTNPDS (exits). No widget here: the window and the command line run this.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace livrax::efiles {

// One document line of the file (every record type except 10, 11 and 90).
// Amounts and the rate are ten-thousandths, read with two implied decimals;
// record types other than 50 and 70 keep them zero.
struct ReversalRow {
    int line = 0;      // 1-based line of the file
    QString type;      // "Tp": positions 1-2
    QString cnpj;      // "CNPJ": positions 3-16 as "XX.XXX.XXX/XXXX-XX"
    QString partner;   // "Sigla": the partner's code, "ISENTO" or "SEM CADASTRO"
    QDate date;        // "DtEmis": positions 31-38
    QString number;    // "Nota"
    QString cfop;      // "CFOP"
    qint64 total = 0;  // "Val.Total"
    qint64 base = 0;   // "Base Calc"
    qint64 icms = 0;   // "Val.ICM"
    qint64 exempt = 0; // "Isentas"
    qint64 other = 0;  // "Outras"
    qint64 rate = 0;   // "Aliq", after the rate repair
    QString situation; // "Sit"
    QString state;     // "UF": positions 39-40
    QString model;     // "Mod": positions 41-42
    QString stateReg;  // "Insc.Est.": positions 17-30 as read
    QString freight;   // "Fre": CIF/FOB code of record 70
    QString direction; // "E/S": "E" for a CFOP beginning 1, 2 or 3, else "S"

    bool isInvoice() const { return type == u"50"; }
    // "S" cancelled or "X" cancelled late; "2" denied and "4" unused numbers
    // are no operation either. These come in with FAT "C".
    bool isCancelled() const;
};

// Something in the file that keeps it from being imported.
struct ReversalProblem {
    int line = 0; // 1-based; 0 for the file as a whole
    QString message;
};

struct ReversalFile {
    std::vector<ReversalRow> rows;
    std::vector<ReversalProblem> problems; // in line order
    int lines = 0;                         // lines read, blank ones included
};

// Reads the bytes of a SINTEGRA file (Windows-1252). Lines may end with CR LF
// or LF, the last one with nothing; spaces at the end of a line are dropped,
// and a line that lost the spaces of its last, blank fields is read as if it
// had them. Lines of another length, unknown record types, control
// characters and record-50/70 fields that cannot be what they claim (a date
// that is no date, an amount that is no number) are problems, each with its
// line; those lines give no row. Record 50 is cut by the current layout, or by
// the Convênio 31/99 one when its date's year is 2002 or earlier.
ReversalFile ReadSintegraReversal(const QByteArray& bytes);

// "linha 12: ..." ("arquivo: ..." for line 0).
QString ProblemText(const ReversalProblem& problem);

// Fills each row's partner: the SIGLA of the VRTNEMP row whose CGC is the
// masked CNPJ (or, for a CPF zero-filled to 14 digits, the masked CPF); else
// "ISENTO" when the state registration says so, else "SEM CADASTRO". Reads in
// one snapshot of the database that holds VRTNEMP. False, with `error` set
// and the rows left as they were, when the database fails or is missing.
bool MatchPartners(std::vector<ReversalRow>& rows, QString* error);

// What an import writes (or would write): the record-50 rows by direction.
struct ReversalSummary {
    int entries = 0, exits = 0;
    int cancelled = 0;
    qint64 entryTotal = 0, exitTotal = 0; // "Val.Total" of the documents
    qint64 entryIcms = 0, exitIcms = 0;
};
ReversalSummary SummariseReversal(const std::vector<ReversalRow>& rows);

// How many record-50 rows already have an invoice in their table with the
// same number, partner and date (as the date of entry or of issue): a file
// imported before. Nothing on a database failure, with `error` set.
std::optional<int> CountExistingDocuments(const std::vector<ReversalRow>& rows, QString* error);

struct ReversalImport {
    bool ok = false;
    QString message;    // the failure, naming the line of the file; empty when ok
    int failedLine = 0; // the file's line the database refused, 0 otherwise
    ReversalSummary written;
    std::vector<int> entryKeys, exitKeys; // the PEDIDO given to each document
};

// Imports the record-50 rows (with the partners MatchPartners gave them), in
// file order, in one transaction on the database that holds each table (both
// tables in one database: one transaction); each document takes the greatest
// PEDIDO of its table plus one. FAT is "F", or "C" for a cancelled document,
// so the books see the invoices as they see the ERP's own. When the database
// refuses any row, every transaction is rolled back and nothing of the
// import stays.
ReversalImport ImportReversal(const std::vector<ReversalRow>& rows);

// "Entradas: 2 documentos, total 1.234,50; Saídas: ..." for messages.
QString SummaryText(const ReversalSummary& summary);

} // namespace livrax::efiles
