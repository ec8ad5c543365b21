#include "registers/company_register.h"

#include "common/cnpj.h"
#include "common/field_text.h"
#include "common/fields.h"
#include "common/masks.h"
#include "common/text.h"
#include "data/company_header.h"
#include "data/connection.h"
#include "data/globals.h"
#include "data/param_store.h"

using namespace Qt::StringLiterals;

namespace livrax::registers {

namespace {

constexpr int EntryLines = 20;
constexpr int AccessLevelsLine = 7;
const QString InvalidNumber = u"CGC/CNPJ INVÁLIDO."_s;

using Tab = RegisterTab;
constexpr auto Upper = LetterCase::Upper;
constexpr auto Lower = LetterCase::Lower;
constexpr auto AsTyped = LetterCase::AsTyped;

RegisterField TextField(const QString& name, const QString& caption, RegisterTab tab, int line,
                        int field, LetterCase letterCase = AsTyped, int maxLength = 0,
                        const QString& defaultText = {}, const QStringList& items = {}) {
    return {name, caption, tab, line, field, letterCase, maxLength, defaultText, items};
}

} // namespace

const std::vector<RegisterField>& CompanyRegisterFields() {
    static const std::vector<RegisterField> fields = {
        TextField(u"E_EMPRESA"_s, u"Empresa"_s, Tab::Company, 1, 1, AsTyped, 60),
        TextField(u"E_ENDERECO"_s, u"Endereço"_s, Tab::Company, 1, 2),
        TextField(u"E_FANTASIA"_s, u"Nome Fantasia"_s, Tab::Company, 1, 3),
        TextField(u"E_CIDADE"_s, u"Cidade"_s, Tab::Company, 2, 1, Upper),
        TextField(u"E_ESTADO"_s, u"Estado"_s, Tab::Company, 2, 2, Upper, 2),
        TextField(u"E_CEP"_s, u"Cep"_s, Tab::Company, 2, 3, Upper, 9),
        TextField(u"E_BAIRRO"_s, u"Bairro"_s, Tab::Company, 2, 4),
        TextField(u"E_PREFIXO"_s, u"Prefixo"_s, Tab::Company, 3, 1),
        TextField(u"E_TELEFONE"_s, u"Telefone"_s, Tab::Company, 3, 2),
        TextField(u"E_FAX"_s, u"Fax"_s, Tab::Company, 3, 3),
        TextField(u"E_EMAIL"_s, u"Email"_s, Tab::Company, 3, 4, Lower),
        TextField(u"E_CGC"_s, u"CGC"_s, Tab::Company, 4, 1),
        TextField(u"E_INSCEST"_s, u"Insc.Estadual"_s, Tab::Company, 4, 2),
        TextField(u"E_INSCMUN"_s, u"Insc.Municipal"_s, Tab::Company, 4, 3),
        TextField(u"E_FILIALDEF"_s, u"FILIAL Default"_s, Tab::Parameters, 6, 1, AsTyped, 3,
                  u"000"_s),
        TextField(u"E_SERNF"_s, u"Série da N.Fiscal"_s, Tab::Parameters, 6, 2, Upper, 2, u"SU"_s),
        TextField(u"E_SENHADIR"_s, u"Niveis de Acesso"_s, Tab::Parameters, AccessLevelsLine, 0,
                  Upper),
        TextField(u"E_MED_AUTOR"_s, u"Autorização Especial"_s, Tab::Medicines, 8, 1),
        TextField(u"E_MED_QUALIF"_s, u"Qualificação"_s, Tab::Medicines, 8, 2, AsTyped, 0, {},
                  {u"Indústria Farmaceutica"_s, u"Distribuidora Detentora de Registro"_s,
                   u"Distribuidora de Medicamentos"_s}),
        TextField(u"E_MED_NOME"_s, u"Nome"_s, Tab::Medicines, 8, 3),
        TextField(u"E_MED_CARGO"_s, u"Cargo"_s, Tab::Medicines, 8, 4),
        TextField(u"E_MED_TELEFONE"_s, u"Telefone"_s, Tab::Medicines, 8, 5),
        TextField(u"E_MED_EMAIL"_s, u"Email"_s, Tab::Medicines, 8, 6),
        TextField(u"E_MED_AUTFUNC"_s, u"Autorização de Funcionamento"_s, Tab::Medicines, 8, 7),
        TextField(u"E_MED_LICFUNC"_s, u"Licença de Funcionamento"_s, Tab::Medicines, 8, 8),
        TextField(u"E_RES_CPF"_s, u"CPF"_s, Tab::Pharmacist, 9, 1),
        TextField(u"E_RES_NOME"_s, u"Nome"_s, Tab::Pharmacist, 9, 2),
        TextField(u"E_RES_ENDERECO"_s, u"Endereço"_s, Tab::Pharmacist, 9, 3),
        TextField(u"E_RES_TELEFONE"_s, u"Telefone"_s, Tab::Pharmacist, 9, 4),
        TextField(u"E_RES_FAX"_s, u"Fax"_s, Tab::Pharmacist, 9, 5),
        TextField(u"E_RES_EMAIL"_s, u"Email"_s, Tab::Pharmacist, 9, 6),
        TextField(u"E_RED_CRF_ETD"_s, u"CRF - Estado"_s, Tab::Pharmacist, 9, 7),
        TextField(u"E_RED_CRF_NUM"_s, u"CRF - Número"_s, Tab::Pharmacist, 9, 8),
        TextField(u"E_INF_ESTACOES"_s, u"Número de Estações"_s, Tab::Computing, 10, 1),
        TextField(u"E_INF_INTERNET"_s, u"Acesso à Internet"_s, Tab::Computing, 10, 2, AsTyped, 0,
                  {},
                  {u"Não tem"_s, u"Acesso Discado"_s, u"Acesso Permanente IP Dinâmico"_s,
                   u"Acesso Permanente IP Fixo"_s}),
        TextField(u"E_INF_RESPONS"_s, u"Responsável"_s, Tab::Computing, 10, 3),
        TextField(u"E_INF_EMAIL"_s, u"Email"_s, Tab::Computing, 10, 4),
    };
    return fields;
}

const QStringList& CompanyTypeItems() {
    static const QStringList items = {u"0 - Outro"_s, u"1 - Geral"_s, u"2 - EPP"_s, u"3 - Micro"_s,
                                      u"4 - Simples"_s};
    return items;
}

const QStringList& DuplicateSeriesItems() {
    static const QStringList items = {u"0 = Numérica"_s, u"1 = Alfabética"_s};
    return items;
}

QString CompanyRegister::text(const QString& name) const {
    const auto found = texts.find(name);
    return found == texts.end() ? QString() : found->second;
}

CompanyRegister CompanyRegisterFromLines() {
    const auto field = [](int line, int field) {
        const QString text = data::ParamLines().line(line);
        return field == 0 ? text : SplitToList(text).value(field - 1);
    };
    CompanyRegister record;
    for (const RegisterField& f : CompanyRegisterFields()) {
        QString text = field(f.line, f.field);
        if (text.isEmpty()) text = f.defaultText;
        record.texts[f.name] = f.maxLength > 0 ? text.left(f.maxLength) : text;
    }
    record.texts[u"E_EMPRESA"_s] = data::Globals().company.name.left(60);
    record.companyType = ToInt(field(5, 1));
    record.duplicateSeries = ToInt(field(5, 2));
    record.multiBranch = field(6, 3) == u"S"_s;
    return record;
}

bool SaveCompanyRegister(const CompanyRegister& record, bool mayChangeAccessLevels) {
    data::Connection* store = data::ParamDatabase();
    if (!store->isConnected()) return false;
    // The stored entry as it is now: lines 11 to 20, and line 7 for a user
    // who may not change it, go back as they were.
    data::ParamRead(store, data::CompanyRegisterKey, EntryLines);
    std::map<int, QStringList> lines;
    for (const RegisterField& f : CompanyRegisterFields()) {
        if (f.field == 0) continue;
        QStringList& fields = lines[f.line];
        while (fields.size() < f.field)
            fields.append(QString());
        fields[f.field - 1] = FieldText(record.text(f.name));
    }
    lines[5] = {QString::number(record.companyType), QString::number(record.duplicateSeries)};
    lines[6].append(record.multiBranch ? u"S"_s : u"N"_s);
    for (const auto& [number, fields] : lines)
        data::ParamLines().setLine(number, JoinFields(fields));
    if (mayChangeAccessLevels)
        data::ParamLines().setLine(AccessLevelsLine, record.text(u"E_SENHADIR"_s));
    const bool written =
        data::ParamWrite(store, data::CompanyRegisterKey, EntryLines, record.text(u"E_EMPRESA"_s));
    // The header follows what is stored, written or not.
    data::LoadCompanyHeader();
    return written;
}

QString CnpjProblem(const QString& text) {
    if (IsBlank(text) || IsValidCNPJ(text)) return {};
    return InvalidNumber;
}

QString CpfProblem(const QString& text) {
    if (StripSymbols(text).trimmed().isEmpty() || IsValidCPF(text)) return {};
    return InvalidNumber;
}

QString ShapePostalCode(const QString& text) {
    const QString digits = StripSymbols(text).trimmed();
    return digits.size() > 5 ? ApplyMask(digits, u"XXXXX-XXX"_s).trimmed() : digits;
}

} // namespace livrax::registers
