#include "efiles/sintegra_reversal.h"

#include "common/fields.h"
#include "common/masks.h"
#include "common/numbers.h"
#include "common/text.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "efiles/sintegra_check.h"
#include "efiles/sintegra_layout.h"
#include "platform/clock.h"
#include "platform/stop_signals.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace livrax::efiles {

namespace {

const QString CnpjMask = u"XX.XXX.XXX/XXXX-XX"_s;
const QString CpfMask = u"XXX.XXX.XXX-XX"_s;
const QString NoPartner = u"SEM CADASTRO"_s;
const QString Exempt = u"ISENTO"_s;

bool AllDigits(QStringView text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString Positions(const FieldSpec& field) {
    return field.width == 1
               ? u"posição %1"_s.arg(field.position)
               : u"posições %1-%2"_s.arg(field.position).arg(field.position + field.width - 1);
}

// Reads the named fields of one padded line by a record's table and keeps
// the first field that is not what its kind says.
class LineFields {
  public:
    LineFields(const QString& text, const RecordLayout& layout) : m_text(text), m_layout(layout) {}

    QString text(const char* name) const {
        const FieldSpec* field = FindField(m_layout, name);
        return field ? m_text.mid(field->position - 1, field->width) : QString();
    }
    // Digits only (a number, a CFOP).
    QString digits(const char* name, const QString& caption) {
        const QString value = text(name);
        if (!AllDigits(value)) fail(name, caption, value, u"não é um número"_s);
        return value;
    }
    // "yyyymmdd".
    QDate date(const char* name, const QString& caption) {
        const QString value = text(name);
        const QDate date = AllDigits(value) ? QDate::fromString(value, u"yyyyMMdd"_s) : QDate();
        if (!date.isValid()) fail(name, caption, value, u"não é uma data (aaaammdd)"_s);
        return date;
    }
    // An amount with two implied decimals, in ten-thousandths. A negative one
    // has its zeros before the minus sign ("00000000-1000").
    qint64 amount(const char* name, const QString& caption) {
        const QString value = text(name);
        const qsizetype minus = value.indexOf(u'-');
        const QStringView zeros = QStringView(value).left(std::max<qsizetype>(minus, 0));
        const QStringView digits = QStringView(value).mid(minus + 1);
        const bool zerosOnly =
            std::all_of(zeros.begin(), zeros.end(), [](QChar c) { return c == u'0'; });
        if (!AllDigits(digits) || !zerosOnly) {
            fail(name, caption, value, u"não é um valor"_s);
            return 0;
        }
        const qint64 cents = digits.toLongLong();
        return (minus >= 0 ? -cents : cents) * 100;
    }
    // A one-character code that may not be blank.
    QString code(const char* name, const QString& caption) {
        const QString value = text(name);
        if (value.trimmed().isEmpty()) fail(name, caption, value, u"está em branco"_s);
        return value;
    }

    bool ok() const { return m_problem.isEmpty(); }
    const QString& problem() const { return m_problem; }

  private:
    void fail(const char* name, const QString& caption, const QString& value, const QString& what) {
        if (!m_problem.isEmpty()) return;
        const FieldSpec* field = FindField(m_layout, name);
        m_problem =
            u"%1 (%2) \"%3\" %4"_s.arg(caption, field ? Positions(*field) : QString(), value, what);
    }

    const QString& m_text;
    const RecordLayout& m_layout;
    QString m_problem;
};

// The layout a line is measured against: record 50 by its date's year, the
// other types by this program's tables; nullptr for the published types
// this program neither writes nor reads (60, 74, ...).
const RecordLayout* LayoutOfLine(int type, const QString& text) {
    if (type == 50) return ToInt(text.mid(30, 4)) > 2002 ? &Layout50() : &Layout50Of1999();
    for (const RecordLayout* layout : AllLayouts())
        if (QString::fromLatin1(layout->type).toInt() == type) return layout;
    return nullptr;
}

// A line shorter than the record may only have lost the spaces of its last
// fields: every missing column must lie in a field that can be blank (a
// text or blank field; a document's situation code never is).
bool OnlyBlankFieldsMissing(const RecordLayout* layout, qsizetype length) {
    if (!layout) return false;
    for (const FieldSpec& field : layout->fields) {
        const int end = field.position + field.width - 1;
        const bool required =
            qstrcmp(field.name, "cancelled") == 0 || qstrcmp(field.name, "status") == 0;
        const bool mayBeBlank =
            field.kind == FieldKind::Blank || (field.kind == FieldKind::Alphanumeric && !required);
        if (end > length && !mayBeBlank) return false;
    }
    return true;
}

// ICMS over base as a percentage with two decimals, rounded, in hundredths.
qint64 EffectiveRateHundredths(qint64 icms, qint64 base) {
    const __int128 scaled = __int128(icms) * 10000;
    return qint64((scaled * 2 + base) / (__int128(base) * 2));
}

// The rate a program wrote with its first digit lost: 5,00, 7,00 and 2,00
// that the ICMS and base do not bear out are 25,00, 17,00 and 12,00.
qint64 RepairedRate(qint64 rate, qint64 base, qint64 icms) {
    if (base == 0 && icms == 0) return 0;
    if (base <= 0 || EffectiveRateHundredths(icms, base) == rate / 100) return rate;
    switch (rate) {
    case 50000:
        return 250000;
    case 70000:
        return 170000;
    case 20000:
        return 120000;
    default:
        return rate;
    }
}

// Fills the amount columns of a record-50 or record-70 line; false with the
// problem when a field is not what it should be.
bool ReadDocument(ReversalRow& row, const QString& text, int type, QString* problem) {
    const bool current = row.date.year() > 2002;
    const RecordLayout& layout =
        type == 70 ? Layout70() : (current ? Layout50() : Layout50Of1999());
    LineFields fields(text, layout);
    row.number = fields.digits("number", u"Nota"_s);
    row.cfop = fields.digits("cfop", u"CFOP"_s);
    // The freight records of the older layout had three-digit CFOPs.
    if (type == 70 && !current) row.cfop = row.cfop.left(3);
    row.total = fields.amount("total", u"Val.Total"_s);
    row.base = fields.amount("base", u"Base Calc"_s);
    row.icms = fields.amount("icms", u"Val.ICM"_s);
    row.exempt = fields.amount("exempt", u"Isentas"_s);
    row.other = fields.amount("other", u"Outras"_s);
    if (type == 50) {
        row.rate = fields.amount("rate", u"Aliq"_s);
        row.situation = fields.code("cancelled", u"Sit"_s);
    } else {
        row.freight = fields.text("freight");
        row.situation = fields.code("status", u"Sit"_s);
    }
    row.rate = RepairedRate(row.rate, row.base, row.icms);
    const QChar first = row.cfop.isEmpty() ? QChar() : row.cfop.at(0);
    row.direction = first == u'1' || first == u'2' || first == u'3' ? u"E"_s : u"S"_s;
    *problem = fields.problem();
    return fields.ok();
}

QString TableCode(const ReversalRow& row) {
    return row.direction == u"E"_s ? u"PDE"_s : u"PDS"_s;
}

QString Money(qint64 value) {
    return FormatMoney(ScaledToText(value), 0, 2);
}

// The database and table of one direction, with a transaction per database.
struct Target {
    data::Connection* database = nullptr;
    QString table;
};

std::optional<Target> TargetOf(const QString& code, QString* error) {
    data::Connection* database = data::DatabaseFor(code);
    if (!database) {
        *error = u"nenhum banco de dados tem a tabela VRTN"_s + code;
        return std::nullopt;
    }
    return Target{database, data::ResolveTableName(code)};
}

} // namespace

bool ReversalRow::isCancelled() const {
    return situation == u"S"_s || situation == u"X"_s || situation == u"2"_s || situation == u"4"_s;
}

ReversalFile ReadSintegraReversal(const QByteArray& bytes) {
    ReversalFile file;
    QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    const auto problem = [&file](int line, const QString& message) {
        file.problems.push_back({line, message});
    };
    qsizetype begin = 0;
    int number = 0;
    while (begin < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', begin);
        QByteArray raw = bytes.mid(begin, (lf >= 0 ? lf : bytes.size()) - begin);
        begin = lf >= 0 ? lf + 1 : bytes.size();
        ++number;
        if (raw.endsWith('\r')) raw.chop(1);

        const auto control = std::find_if(
            raw.begin(), raw.end(), [](char c) { return uchar(c) < 0x20 || uchar(c) == 0x7F; });
        if (control != raw.end()) {
            problem(number,
                    u"caractere de controle (código %1) na coluna %2"_s.arg(int(uchar(*control)))
                        .arg(control - raw.begin() + 1));
            continue;
        }
        QString text = decoder(raw);
        // One byte is one character; a decoder that disagreed would shift
        // every field, so the bytes are then read one to one.
        if (text.size() != raw.size()) text = QString::fromLatin1(raw);
        while (text.endsWith(u' '))
            text.chop(1);
        if (text.isEmpty()) continue;

        const QString typeText = text.left(2);
        const int type = AllDigits(typeText) && typeText.size() == 2 ? typeText.toInt() : -1;
        if (!IsPublishedRecordType(type)) {
            problem(number, u"tipo de registro desconhecido: \"%1\""_s.arg(typeText));
            continue;
        }
        if (text.size() > SintegraLineWidth ||
            (text.size() < SintegraLineWidth &&
             !OnlyBlankFieldsMissing(LayoutOfLine(type, text), text.size()))) {
            problem(number, u"linha com %1 caracteres; o registro tem %2"_s.arg(text.size())
                                .arg(SintegraLineWidth));
            continue;
        }
        text = text.leftJustified(SintegraLineWidth, u' ');
        if (type == 10 || type == 11 || type == 90) continue;

        // The columns every document line shows sit where record 50 has them.
        LineFields common(text, Layout50());
        ReversalRow row;
        row.line = number;
        row.type = typeText;
        row.cnpj = ApplyMask(common.text("cnpj"), CnpjMask);
        row.stateReg = common.text("stateReg");
        row.state = common.text("state");
        row.model = common.text("model");
        if (type == 50 || type == 70) {
            row.date = common.date("date", u"DtEmis"_s);
            QString wrong = common.problem();
            if (wrong.isEmpty()) ReadDocument(row, text, type, &wrong);
            if (!wrong.isEmpty()) {
                problem(number, wrong);
                continue;
            }
        } else {
            row.date = QDate::fromString(common.text("date"), u"yyyyMMdd"_s);
        }
        file.rows.push_back(std::move(row));
    }
    file.lines = number;
    if (number == 0) problem(0, u"arquivo vazio"_s);
    return file;
}

QString ProblemText(const ReversalProblem& problem) {
    return (problem.line == 0 ? u"arquivo: "_s : u"linha %1: "_s.arg(problem.line)) +
           problem.message;
}

bool MatchPartners(std::vector<ReversalRow>& rows, QString* error) {
    QString missing;
    const std::optional<Target> target = TargetOf(u"EMP"_s, &missing);
    if (!target) {
        *error = missing;
        return false;
    }
    try {
        data::Transaction transaction(*target->database, data::TransactionMode::ReadSnapshot);
        data::Statement select(*target->database, transaction,
                               u"SELECT SIGLA FROM "_s + target->table + u" WHERE CGC = :P_CGC"_s);
        QHash<QString, QString> found; // masked number -> SIGLA ("" when none)
        const auto lookUp = [&](const QString& masked) {
            const auto known = found.constFind(masked);
            if (known != found.constEnd()) return *known;
            QString sigla;
            select.bind(u"P_CGC"_s, masked);
            select.open();
            if (select.fetch()) sigla = select.value(0).toString().trimmed();
            select.close();
            found.insert(masked, sigla);
            return sigla;
        };
        std::vector<QString> partners;
        partners.reserve(rows.size());
        for (const ReversalRow& row : rows) {
            QString sigla = lookUp(row.cnpj);
            const QString digits = DropChars(row.cnpj, u"./-"_s);
            // A person's CPF comes zero-filled to 14 digits; the register
            // keeps it with its own mask.
            if (sigla.isEmpty() && digits.startsWith(u"000"_s))
                sigla = lookUp(ApplyMask(digits.right(11), CpfMask));
            if (sigla.isEmpty()) sigla = row.stateReg.trimmed() == Exempt ? Exempt : NoPartner;
            partners.push_back(sigla);
        }
        transaction.commit();
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i].partner = partners[i];
        return true;
    } catch (const data::DbError& failure) {
        *error = failure.message();
        return false;
    }
}

ReversalSummary SummariseReversal(const std::vector<ReversalRow>& rows) {
    ReversalSummary summary;
    for (const ReversalRow& row : rows) {
        if (!row.isInvoice()) continue;
        const bool entry = row.direction == u"E"_s;
        ++(entry ? summary.entries : summary.exits);
        (entry ? summary.entryTotal : summary.exitTotal) += row.total;
        (entry ? summary.entryIcms : summary.exitIcms) += row.icms;
        if (row.isCancelled()) ++summary.cancelled;
    }
    return summary;
}

QString SummaryText(const ReversalSummary& summary) {
    const auto part = [](const QString& title, int count, qint64 total, qint64 icms) {
        return u"%1: %2 %3, total %4, ICMS %5"_s.arg(title).arg(count).arg(
            count == 1 ? u"documento"_s : u"documentos"_s, Money(total), Money(icms));
    };
    QString text = part(u"Entradas"_s, summary.entries, summary.entryTotal, summary.entryIcms) +
                   u"; "_s + part(u"Saídas"_s, summary.exits, summary.exitTotal, summary.exitIcms);
    if (summary.cancelled > 0) text += u"; %1 cancelado(s)"_s.arg(summary.cancelled);
    return text;
}

std::optional<int> CountExistingDocuments(const std::vector<ReversalRow>& rows, QString* error) {
    int existing = 0;
    try {
        for (const QString& code : {u"PDE"_s, u"PDS"_s}) {
            const auto target = TargetOf(code, error);
            if (!target) return std::nullopt;
            data::Transaction transaction(*target->database, data::TransactionMode::ReadSnapshot);
            data::Statement count(*target->database, transaction,
                                  u"SELECT COUNT(*) FROM "_s + target->table +
                                      u" WHERE NNOTA = :P_NNOTA AND SIGLA = :P_SIGLA AND "
                                      u"(DTNOTA = :P_DATA OR DATA = :P_DATA)"_s);
            for (const ReversalRow& row : rows) {
                if (!row.isInvoice() || TableCode(row) != code) continue;
                count.bind(u"P_NNOTA"_s, row.number.toInt());
                count.bind(u"P_SIGLA"_s, row.partner);
                count.bind(u"P_DATA"_s, row.date);
                count.open();
                if (count.fetch() && count.value(0).toInt() > 0) ++existing;
                count.close();
            }
            transaction.commit();
        }
    } catch (const data::DbError& failure) {
        *error = failure.message();
        return std::nullopt;
    }
    return existing;
}

ReversalImport ImportReversal(const std::vector<ReversalRow>& rows) {
    ReversalImport result;
    const QStringList columns = {
        u"PEDIDO"_s,     u"FILIAL"_s,    u"NNOTA"_s,   u"SERIE"_s,   u"SIGLA"_s,   u"ESTADO"_s,
        u"ESPECIE"_s,    u"VALOR"_s,     u"VALORA"_s,  u"LIQUIDO"_s, u"DATA"_s,    u"DTNOTA"_s,
        u"NATOPER"_s,    u"FAT"_s,       u"FRETEFC"_s, u"ICMPERC"_s, u"ICMBASE"_s, u"ICMVALOR"_s,
        u"ICMISENTAS"_s, u"ICMOUTRAS"_s, u"DTALT"_s,   u"DTINCL"_s};
    struct Writer {
        Target target;
        data::Transaction* transaction = nullptr;
        std::unique_ptr<data::Statement> insert;
        int next = 0;
    };
    // One transaction per database: both tables in one database share it.
    std::map<data::Connection*, std::unique_ptr<data::Transaction>> transactions;
    std::map<QString, Writer> writers;
    const auto rollBack = [&transactions] {
        for (auto& [database, transaction] : transactions)
            transaction->rollback();
    };
    // A stop signal before the commit rolls everything back: an import is
    // never kept in part.
    const auto stopped = [&] {
        if (!platform::StopRequested()) return false;
        rollBack();
        result.entryKeys.clear();
        result.exitKeys.clear();
        result.message = u"interrompido pelo sinal "_s +
                         QString::fromLatin1(platform::StopSignalName()) +
                         u". Nada foi importado."_s;
        return true;
    };
    int line = 0;
    try {
        for (const QString& code : {u"PDE"_s, u"PDS"_s}) {
            QString missing;
            const auto target = TargetOf(code, &missing);
            if (!target) {
                rollBack();
                result.message = missing + u". Nada foi importado."_s;
                return result;
            }
            auto& transaction = transactions[target->database];
            if (!transaction) transaction = std::make_unique<data::Transaction>(*target->database);
            Writer& writer = writers[code];
            writer.target = *target;
            writer.transaction = transaction.get();
            data::Statement max(*target->database, *transaction,
                                u"SELECT MAX(PEDIDO) FROM "_s + target->table);
            max.open();
            writer.next = max.fetch() ? int(max.value(0).toInt()) + 1 : 1;
            max.close();
            writer.insert = std::make_unique<data::Statement>(
                *target->database, *transaction,
                u"INSERT INTO "_s + target->table + u" ("_s + columns.join(u',') +
                    u") VALUES (:"_s + columns.join(u",:"_s) + u')');
        }

        const QDate today = platform::Clock::today();
        for (const ReversalRow& row : rows) {
            if (!row.isInvoice()) continue;
            if (stopped()) return result;
            line = row.line;
            const bool entry = row.direction == u"E"_s;
            Writer& writer = writers[entry ? u"PDE"_s : u"PDS"_s];
            data::Statement& insert = *writer.insert;
            const int key = writer.next;
            insert.bind(u"PEDIDO"_s, key);
            insert.bind(u"FILIAL"_s, 0);
            insert.bind(u"NNOTA"_s, row.number.toInt());
            insert.bind(u"SERIE"_s, u"SU"_s);
            insert.bind(u"SIGLA"_s, row.partner);
            insert.bind(u"ESTADO"_s, row.state.trimmed());
            insert.bind(u"ESPECIE"_s, u"NFF"_s);
            for (const QString& column : {u"VALOR"_s, u"VALORA"_s, u"LIQUIDO"_s})
                insert.bind(column, data::DbValue::scaled(row.total));
            insert.bind(u"DATA"_s, row.date);
            insert.bind(u"DTNOTA"_s, row.date);
            insert.bind(u"NATOPER"_s, row.cfop.toInt());
            insert.bind(u"FAT"_s, row.isCancelled() ? u"C"_s : u"F"_s);
            insert.bind(u"FRETEFC"_s, row.freight.trimmed().isEmpty()
                                          ? data::DbValue::null()
                                          : data::DbValue(row.freight.trimmed()));
            insert.bind(u"ICMPERC"_s, data::DbValue::scaled(row.rate));
            insert.bind(u"ICMBASE"_s, data::DbValue::scaled(row.base));
            insert.bind(u"ICMVALOR"_s, data::DbValue::scaled(row.icms));
            insert.bind(u"ICMISENTAS"_s, data::DbValue::scaled(row.exempt));
            insert.bind(u"ICMOUTRAS"_s, data::DbValue::scaled(row.other));
            insert.bind(u"DTALT"_s, today);
            insert.bind(u"DTINCL"_s, today);
            insert.execute();
            ++writer.next;
            (entry ? result.entryKeys : result.exitKeys).push_back(key);
        }
        line = 0;
        if (stopped()) return result;
        // Both tables in one database commit together. Were they kept in two
        // databases, the second commit failing would leave the first one's
        // rows: the message then says which were kept.
        std::size_t committed = 0;
        for (auto& [database, transaction] : transactions) {
            try {
                transaction->commit();
                ++committed;
            } catch (const data::DbError& failure) {
                rollBack();
                result.message = u"a gravação não pôde ser concluída: "_s + failure.message() +
                                 (committed == 0 ? u". Nada foi importado."_s
                                                 : u". Parte dos documentos ficou gravada em "
                                                   u"outro banco de dados."_s);
                return result;
            }
        }
    } catch (const data::DbError& failure) {
        rollBack();
        result.failedLine = line;
        result.entryKeys.clear();
        result.exitKeys.clear();
        result.message = (line > 0 ? u"linha %1: o banco de dados recusou o documento: "_s.arg(line)
                                   : u"o banco de dados falhou: "_s) +
                         failure.message() + u". Nada foi importado."_s;
        return result;
    }
    result.ok = true;
    result.written = SummariseReversal(rows);
    return result;
}

} // namespace livrax::efiles
