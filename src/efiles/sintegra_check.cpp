#include "efiles/sintegra_check.h"

#include "common/cnpj.h"
#include "efiles/sintegra_layout.h"
#include "efiles/state_registration.h"

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <map>
#include <optional>

using namespace Qt::StringLiterals;

namespace livrax::efiles {

// The record types of the published layout. The ones this program writes
// have a field table (sintegra_layout); the others are counted and checked
// for length only.
bool IsPublishedRecordType(int type) {
    static const QSet<int> types{10, 11, 50, 51, 53, 54, 55, 56, 57, 60, 61,
                                 70, 71, 74, 75, 76, 77, 85, 86, 88, 90};
    return types.contains(type);
}

namespace {

// Types that record 90 does not total (the "99" slot counts them).
bool IsFrameType(int type) {
    return type == 10 || type == 11 || type == 90;
}

const RecordLayout* LayoutOf(int type) {
    static const std::map<int, const RecordLayout*> layouts = [] {
        std::map<int, const RecordLayout*> byType;
        for (const RecordLayout* layout : AllLayouts())
            byType[QString::fromLatin1(layout->type).toInt()] = layout;
        return byType;
    }();
    const auto found = layouts.find(type);
    return found == layouts.end() ? nullptr : found->second;
}

QString Positions(const FieldSpec& field) {
    return field.width == 1
               ? u"posição %1"_s.arg(field.position)
               : u"posições %1-%2"_s.arg(field.position).arg(field.position + field.width - 1);
}

bool AllDigits(QStringView text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A date field "yyyymmdd".
QDate FieldDate(const QString& text) {
    if (text.size() != 8 || !AllDigits(text)) return {};
    return QDate::fromString(text, u"yyyyMMdd"_s);
}

QString ShowDate(const QDate& date) {
    return date.toString(u"dd/MM/yyyy"_s);
}

// A negative amount as this program writes it: the zeros before the sign.
bool IsNegativeAmount(const QString& text) {
    const qsizetype minus = text.indexOf(u'-');
    if (minus < 0) return false;
    const QStringView zeros = QStringView(text).left(minus);
    const QStringView digits = QStringView(text).mid(minus + 1);
    return std::all_of(zeros.begin(), zeros.end(), [](QChar c) { return c == u'0'; }) &&
           AllDigits(digits);
}

// A CNPJ, or a CPF zero-filled to 14 digits.
bool IsValidTaxNumber(const QString& digits) {
    if (IsValidCNPJ(digits)) return true;
    return digits.size() == 14 && digits.startsWith(u"000"_s) && IsValidCPF(digits.right(11));
}

struct Line {
    int number = 0;
    QString text;       // decoded, without CR LF
    int type = -1;      // positions 1-2; -1 when they are no record type
    bool exact = false; // 126 characters: fields can be read
};

class Checker {
  public:
    std::vector<CheckFinding> run(const QByteArray& bytes);

  private:
    void finding(int line, const QString& code, const QString& message) {
        m_findings.push_back({line, CheckSeverity::Finding, code, message});
    }
    void note(int line, const QString& code, const QString& message) {
        m_findings.push_back({line, CheckSeverity::Note, code, message});
    }
    // A note given once per file.
    void noteOnce(int line, const QString& code, const QString& message) {
        if (m_notedOnce.contains(code)) return;
        m_notedOnce.insert(code);
        note(line, code, message);
    }

    void splitLines(const QByteArray& bytes);
    void checkOrder();
    void readRecord10();
    void checkFields(const Line& line, const RecordLayout& layout);
    void checkParties(const Line& line);
    void checkRecord(const Line& line);
    void checkItems();
    void checkTotals();

    QString field(const Line& line, const char* name) const {
        const RecordLayout* layout = LayoutOf(line.type);
        const FieldSpec* found = layout ? FindField(*layout, name) : nullptr;
        return found ? line.text.mid(found->position - 1, found->width) : QString();
    }
    // The key that ties a record-54 item to its record 50 or 53.
    QString documentKey(const Line& line) const {
        return field(line, "cnpj") + u'|' + field(line, "model") + u'|' + field(line, "series") +
               u'|' + field(line, "number") + u'|' + field(line, "cfop");
    }

    std::vector<Line> m_lines;
    std::vector<CheckFinding> m_findings;
    QSet<QString> m_notedOnce;
    std::map<int, int> m_counts; // lines per record type
    const Line* m_record10 = nullptr;
    QDate m_start, m_end; // the period of record 10, when it is valid
};

void Checker::splitLines(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    qsizetype begin = 0;
    int number = 0;
    while (begin < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', begin);
        const bool ended = lf >= 0;
        QByteArray raw = bytes.mid(begin, (ended ? lf : bytes.size()) - begin);
        begin = ended ? lf + 1 : bytes.size();
        ++number;

        if (!ended) {
            finding(number, u"line-ending"_s, u"a última linha não termina com CR LF"_s);
            if (raw.endsWith('\r')) raw.chop(1);
        } else if (raw.endsWith('\r')) {
            raw.chop(1);
        } else {
            finding(number, u"line-ending"_s, u"linha terminada só com LF (sem CR)"_s);
        }
        for (qsizetype i = 0; i < raw.size(); ++i) {
            const uchar c = uchar(raw.at(i));
            if (c < 0x20 || c == 0x7F) {
                finding(number, u"control-character"_s,
                        u"caractere de controle (código %1) na coluna %2"_s.arg(c).arg(i + 1));
                break;
            }
        }

        Line line;
        line.number = number;
        line.text = decoder(raw);
        // One byte is one character; a decoder that disagreed would shift
        // every field, so the bytes are then read one to one.
        if (line.text.size() != raw.size()) line.text = QString::fromLatin1(raw);
        line.exact = raw.size() == SintegraLineWidth;
        bool isNumber = false;
        const int type = line.text.left(2).toInt(&isNumber);
        line.type = isNumber && AllDigits(QStringView(line.text).left(2)) ? type : -1;
        if (!line.exact)
            finding(number, u"line-length"_s,
                    u"linha com %1 caracteres; o registro tem %2"_s.arg(raw.size())
                        .arg(SintegraLineWidth));
        if (!IsPublishedRecordType(line.type)) {
            finding(number, u"unknown-type"_s,
                    u"tipo de registro desconhecido: \"%1\""_s.arg(line.text.left(2)));
            line.type = -1;
        } else {
            ++m_counts[line.type];
        }
        m_lines.push_back(std::move(line));
    }
}

void Checker::checkOrder() {
    int highest = 0; // the highest record type so far, 54 ranked as 53
    const Line* highestLine = nullptr;
    bool itemsSeen = false;
    QSet<int> seen;
    for (const Line& line : m_lines) {
        if (line.type < 0) continue;
        // Record-54 items may follow each record 53 (this program's files)
        // instead of forming one block after them.
        const int rank = line.type == 54 ? 53 : line.type;
        if (rank < highest) {
            finding(
                line.number, u"order"_s,
                u"registro %1 fora de ordem: vem depois do registro %2 da linha %3"_s.arg(line.type)
                    .arg(highestLine->type)
                    .arg(highestLine->number));
        } else if (rank > highest) {
            highest = rank;
            highestLine = &line;
        }
        if ((line.type == 10 || line.type == 11) && seen.contains(line.type))
            finding(line.number, u"repeated-record"_s,
                    u"registro %1 repetido: o arquivo tem um só"_s.arg(line.type));
        seen.insert(line.type);
        if (line.type == 54) itemsSeen = true;
        if (line.type == 53 && itemsSeen)
            noteOnce(line.number, u"items-follow-53"_s,
                     u"registros 54 logo depois de cada registro 53, não em bloco depois de "
                     u"todos os registros 53 (como este programa grava)"_s);
    }
    for (const int type : {10, 11, 90})
        if (!seen.contains(type))
            finding(0, u"missing-record"_s, u"o arquivo não tem registro %1"_s.arg(type));
}

void Checker::readRecord10() {
    const auto found =
        std::find_if(m_lines.begin(), m_lines.end(), [](const Line& l) { return l.type == 10; });
    if (found == m_lines.end() || !found->exact) return;
    m_record10 = &*found;
    const Line& line = *found;
    const QDate start = FieldDate(field(line, "startDate"));
    const QDate end = FieldDate(field(line, "endDate"));
    if (start.isValid() && end.isValid()) {
        if (start > end)
            finding(line.number, u"period"_s,
                    u"período invertido: início %1 depois do fim %2"_s.arg(ShowDate(start),
                                                                           ShowDate(end)));
        else {
            m_start = start;
            m_end = end;
        }
    }
    const struct {
        const char* name;
        QString allowed;
        QString what;
    } codes[] = {
        {"agreement", u"123"_s, u"código do convênio"_s},
        {"natures", u"123"_s, u"código da natureza das operações"_s},
        {"purpose", u"1235"_s, u"código da finalidade do arquivo"_s},
    };
    for (const auto& code : codes) {
        const QString value = field(line, code.name);
        if (!code.allowed.contains(value) || value.trimmed().isEmpty())
            finding(line.number, u"record10-code"_s,
                    u"%1 \"%2\" inválido (%3)"_s.arg(code.what, value,
                                                     Positions(*FindField(Layout10(), code.name))));
    }
}

void Checker::checkFields(const Line& line, const RecordLayout& layout) {
    for (const FieldSpec& layoutField : layout.fields) {
        const QString value = line.text.mid(layoutField.position - 1, layoutField.width);
        if (layoutField.kind == FieldKind::Numeric) {
            if (AllDigits(value)) continue;
            if (IsNegativeAmount(value))
                note(line.number, u"negative-amount"_s,
                     u"valor negativo \"%1\" nas %2: o sinal fica dentro do campo, depois dos "
                     u"zeros"_s.arg(value, Positions(layoutField)));
            else
                finding(line.number, u"numeric-field"_s,
                        u"campo numérico com \"%1\" nas %2"_s.arg(value, Positions(layoutField)));
        } else if (layoutField.kind == FieldKind::Date) {
            if (!FieldDate(value).isValid())
                finding(line.number, u"date-field"_s,
                        u"data inválida \"%1\" nas %2"_s.arg(value, Positions(layoutField)));
        }
    }
}

// CNPJ/CPF, state and state registration of the parties a record names.
void Checker::checkParties(const Line& line) {
    struct Party {
        const char* cnpj;
        const char* stateReg;
        const char* state;
    };
    std::vector<Party> parties;
    switch (line.type) {
    case 10:
    case 50:
    case 51:
    case 53:
    case 70:
        parties = {{"cnpj", "stateReg", "state"}};
        break;
    case 55: // the registration in the favoured state
        parties = {{"cnpj", "stateReg", "favouredState"}};
        break;
    case 71:
        parties = {{"takerCnpj", "takerStateReg", "state"},
                   {"senderCnpj", "senderStateReg", "senderState"}};
        break;
    default:
        return;
    }
    for (const Party& party : parties) {
        const QString number = field(line, party.cnpj).trimmed();
        // Zeros stand for a party without a number (abroad), never for the
        // informant.
        if (line.type == 10 && AllDigits(number) && number.count(u'0') == number.size())
            finding(line.number, u"cnpj"_s, u"CNPJ do informante zerado"_s);
        else if (AllDigits(number) && !IsValidTaxNumber(number))
            finding(line.number, u"cnpj"_s,
                    u"CNPJ/CPF %1 com dígitos verificadores errados"_s.arg(number));
        else if (!AllDigits(number) && line.type == 71 && qstrcmp(party.cnpj, "senderCnpj") == 0)
            finding(line.number, u"cnpj"_s,
                    u"CNPJ/CPF do remetente \"%1\" não é um número"_s.arg(number));
        const QString state = field(line, party.state);
        // "EX": a party abroad; record 10 is always a state's own informant.
        const bool abroad = state == u"EX"_s && line.type != 10;
        if (!IsStateCode(state) && !abroad) {
            finding(line.number, u"state"_s, u"UF inválida: \"%1\""_s.arg(state));
            continue;
        }
        if (abroad) continue;
        const QString problem = StateRegistrationProblem(state, field(line, party.stateReg));
        if (!problem.isEmpty()) finding(line.number, u"state-registration"_s, problem);
    }
}

void Checker::checkRecord(const Line& line) {
    // Documents of the period.
    if (m_start.isValid() && QSet<int>{50, 51, 53, 61, 70, 71}.contains(line.type)) {
        const QDate date = FieldDate(field(line, "date"));
        if (date.isValid() && (date < m_start || date > m_end))
            finding(line.number, u"date-outside-period"_s,
                    u"data %1 fora do período do registro 10 (%2 a %3)"_s.arg(
                        ShowDate(date), ShowDate(m_start), ShowDate(m_end)));
    }
    if (line.type == 50 || line.type == 53) {
        const QString issuer = field(line, "issuer");
        if (issuer != u"P"_s && issuer != u"T"_s)
            finding(line.number, u"issuer"_s,
                    u"emitente \"%1\" inválido (P próprio, T terceiros)"_s.arg(issuer));
    }
    if (line.type == 50 || line.type == 51 || line.type == 53) {
        const QString situation = field(line, "cancelled");
        if (situation.isEmpty() || !u"NSEX24"_s.contains(situation))
            finding(line.number, u"situation"_s,
                    u"situação da nota \"%1\" inválida (N, S, E, X, 2 ou 4)"_s.arg(situation));
    }
    if (line.type == 53 && line.text.mid(96).trimmed().isEmpty())
        noteOnce(line.number, u"record53-total"_s,
                 u"registro 53 sem código de antecipação: nos arquivos deste programa o emitente "
                 u"é sempre \"P\" e as posições 57-69 trazem o total da nota, não a base de "
                 u"cálculo do ICMS retido"_s);
}

void Checker::checkItems() {
    QSet<QString> documents50, documents53;
    // Each product's record-75 lines: line number, validity.
    std::map<QString, std::vector<std::pair<QDate, QDate>>> products;
    for (const Line& line : m_lines) {
        if (!line.exact) continue;
        if (line.type == 50) documents50.insert(documentKey(line));
        if (line.type == 53) documents53.insert(documentKey(line));
        if (line.type == 75)
            products[field(line, "product").trimmed()].emplace_back(
                FieldDate(field(line, "startDate")), FieldDate(field(line, "endDate")));
    }
    QSet<QString> items;
    QSet<QString> productsReported;
    bool itemOf50 = false;
    int firstItem = 0;
    for (const Line& line : m_lines) {
        if (line.type != 54 || !line.exact) continue;
        if (firstItem == 0) firstItem = line.number;
        const QString key = documentKey(line);
        if (documents50.contains(key)) {
            itemOf50 = true;
        } else if (!documents53.contains(key)) {
            finding(line.number, u"item-document"_s,
                    u"registro 54 sem registro 50 ou 53 da mesma nota (CNPJ, modelo, série, "
                    u"número e CFOP)"_s);
        }
        const QString sequence = field(line, "sequence");
        const int number = sequence.toInt();
        if (!AllDigits(sequence) || number < 1) {
            finding(line.number, u"item-number"_s,
                    u"número do item \"%1\" inválido (001 a 990 para produtos, 991 a 999 para "
                    u"frete, seguro e outras despesas)"_s.arg(sequence));
            continue;
        }
        if (items.contains(key + sequence))
            finding(line.number, u"item-number"_s,
                    u"número do item %1 repetido na mesma nota"_s.arg(sequence));
        items.insert(key + sequence);
        if (number > 990) continue; // freight, insurance, expenses: no product
        const QString product = field(line, "product").trimmed();
        if (product.isEmpty()) {
            finding(line.number, u"item-product"_s,
                    u"item %1 sem código de produto"_s.arg(sequence));
            continue;
        }
        if (productsReported.contains(product)) continue;
        const auto found = products.find(product);
        if (found == products.end()) {
            productsReported.insert(product);
            finding(line.number, u"product-75"_s, u"produto \"%1\" sem registro 75"_s.arg(product));
            continue;
        }
        if (!m_start.isValid()) continue;
        const bool covered =
            std::any_of(found->second.begin(), found->second.end(), [&](const auto& validity) {
                return validity.first.isValid() && validity.second.isValid() &&
                       validity.first <= m_start && validity.second >= m_end;
            });
        if (!covered) {
            productsReported.insert(product);
            finding(line.number, u"product-75-validity"_s,
                    u"produto \"%1\": nenhum registro 75 com validade que cubra o período %2 a "
                    u"%3"_s.arg(product, ShowDate(m_start), ShowDate(m_end)));
        }
    }
    if (firstItem != 0 && !itemOf50 && !documents53.isEmpty())
        note(firstItem, u"items-of-53-only"_s,
             u"registros 54 só das notas do registro 53 (com ICMS retido), como este programa "
             u"grava; as notas do registro 50 ficam sem itens"_s);
}

void Checker::checkTotals() {
    std::vector<const Line*> totals;
    for (const Line& line : m_lines)
        if (line.type == 90) totals.push_back(&line);
    if (totals.empty()) return;
    const int lineCount = int(totals.size());
    std::map<int, std::pair<qint64, int>> declared; // type: count, line
    std::optional<std::pair<qint64, int>> grandTotal;
    for (const Line* line : totals) {
        if (!line->exact) {
            finding(line->number, u"totals-unread"_s,
                    u"registro 90 com tamanho errado: os totais desta linha não foram lidos"_s);
            continue;
        }
        const QString& text = line->text;
        if (m_record10) {
            if (text.mid(2, 14) != m_record10->text.mid(2, 14))
                finding(line->number, u"totals-cnpj"_s,
                        u"CNPJ %1 do registro 90 diferente do registro 10 (%2)"_s.arg(
                            text.mid(2, 14), m_record10->text.mid(2, 14)));
            if (text.mid(16, 14) != m_record10->text.mid(16, 14))
                finding(line->number, u"totals-registration"_s,
                        u"inscrição estadual \"%1\" do registro 90 diferente do registro 10 "
                        u"(\"%2\")"_s.arg(text.mid(16, 14).trimmed(),
                                          m_record10->text.mid(16, 14).trimmed()));
        }
        if (text.at(125) != QChar(u'0' + lineCount) || lineCount > 9)
            finding(line->number, u"totals-line-count"_s,
                    u"posição 126 do registro 90 com \"%1\"; o arquivo tem %2 registros 90"_s
                        .arg(text.at(125))
                        .arg(lineCount));
        // Nine slots of type (2) and count (8) from position 31, then blank
        // up to position 125.
        int slot = 0;
        for (; slot < 9; ++slot) {
            const QString pair = text.mid(30 + slot * 10, 10);
            if (pair.trimmed().isEmpty()) break;
            const QString type = pair.left(2);
            const QString count = pair.mid(2);
            if (!AllDigits(type) || !AllDigits(count)) {
                finding(line->number, u"totals-slot"_s,
                        u"total \"%1\" ilegível nas posições %2-%3"_s.arg(pair)
                            .arg(31 + slot * 10)
                            .arg(40 + slot * 10));
                continue;
            }
            if (type == u"99"_s) {
                if (grandTotal) finding(line->number, u"totals-99"_s, u"total \"99\" repetido"_s);
                if (line != totals.back())
                    finding(line->number, u"totals-99"_s,
                            u"total \"99\" fora do último registro 90"_s);
                grandTotal = {count.toLongLong(), line->number};
                continue;
            }
            if (declared.count(type.toInt()))
                finding(line->number, u"totals-slot"_s,
                        u"total do registro %1 repetido no registro 90"_s.arg(type));
            declared[type.toInt()] = {count.toLongLong(), line->number};
        }
        const int blankFrom = 30 + slot * 10;
        if (!text.mid(blankFrom, 125 - blankFrom).trimmed().isEmpty())
            finding(line->number, u"totals-slot"_s,
                    u"registro 90 com conteúdo depois dos totais (posições %1-125)"_s.arg(
                        blankFrom + 1));
    }
    const int firstTotals = totals.front()->number;
    for (const auto& [type, declaration] : declared) {
        const auto present = m_counts.find(type);
        const int lines = present == m_counts.end() ? 0 : present->second;
        if (declaration.first != lines)
            finding(
                declaration.second, u"totals-count"_s,
                u"registro 90 declara %1 registros %2; o arquivo tem %3"_s.arg(declaration.first)
                    .arg(type)
                    .arg(lines));
    }
    for (const auto& [type, lines] : m_counts)
        if (!IsFrameType(type) && lines > 0 && !declared.count(type))
            finding(
                firstTotals, u"totals-missing-type"_s,
                u"registro 90 sem o total do registro %1 (%2 linhas no arquivo)"_s.arg(type).arg(
                    lines));
    if (!grandTotal) {
        finding(totals.back()->number, u"totals-99"_s, u"registro 90 sem o total geral \"99\""_s);
    } else if (grandTotal->first != qint64(m_lines.size())) {
        finding(grandTotal->second, u"totals-99"_s,
                u"total geral \"99\" declara %1 linhas; o arquivo tem %2"_s.arg(grandTotal->first)
                    .arg(m_lines.size()));
    }
}

std::vector<CheckFinding> Checker::run(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        finding(0, u"empty-file"_s, u"arquivo vazio"_s);
        return std::move(m_findings);
    }
    splitLines(bytes);
    checkOrder();
    readRecord10();
    for (const Line& line : m_lines) {
        if (!line.exact) continue;
        // Record 61R (monthly summary per product) shares type 61 with a
        // layout of its own that this program does not write.
        if (line.type == 61 && line.text.at(2) == u'R') continue;
        const RecordLayout* layout = LayoutOf(line.type);
        if (!layout) continue;
        checkFields(line, *layout);
        checkParties(line);
        checkRecord(line);
    }
    checkItems();
    checkTotals();
    std::stable_sort(m_findings.begin(), m_findings.end(),
                     [](const CheckFinding& a, const CheckFinding& b) { return a.line < b.line; });
    return std::move(m_findings);
}

} // namespace

std::vector<CheckFinding> CheckSintegraFile(const QByteArray& bytes) {
    return Checker().run(bytes);
}

bool HasFindings(const std::vector<CheckFinding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const CheckFinding& f) { return f.severity == CheckSeverity::Finding; });
}

QString FindingText(const CheckFinding& finding) {
    const QString where = finding.line > 0 ? u"linha %1: "_s.arg(finding.line) : u"arquivo: "_s;
    const QString kind = finding.severity == CheckSeverity::Note ? u"observação: "_s : QString();
    return where + kind + finding.message;
}

QString FindingJson(const CheckFinding& finding) {
    const QJsonObject object{
        {u"line"_s, finding.line},
        {u"severity"_s, finding.severity == CheckSeverity::Note ? u"note"_s : u"finding"_s},
        {u"code"_s, finding.code},
        {u"message"_s, finding.message},
    };
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace livrax::efiles
