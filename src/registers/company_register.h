#pragma once
// The company register: the user's own company as the parameter-store entry
// "VRTNCAE" of the program's database (20 lines, "#"-separated fields), from
// which the start-up chain fills the company header of every book, macro and
// tax file. Lines 1 to 10 hold the fields below; 11 to 20 are kept as stored.

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace livrax::registers {

// The tab of the register window a field is shown on.
enum class RegisterTab { Company, Parameters, Medicines, Pharmacist, Computing };

enum class LetterCase { AsTyped, Upper, Lower };

// One text field of the register: its control, caption, place in the entry
// (line, "#"-field; field 0 is the whole line) and input rules. A field with
// items is a choice list whose chosen text is stored.
struct RegisterField {
    QString name;    // the control's name, "E_EMPRESA"
    QString caption; // "Empresa"
    RegisterTab tab;
    int line;
    int field;
    LetterCase letterCase = LetterCase::AsTyped;
    int maxLength = 0; // 0: no limit
    QString defaultText;
    QStringList items;
};

// Every text field, in the order of the entry's lines and fields.
const std::vector<RegisterField>& CompanyRegisterFields();

// The choices of line 5 and line 6, field 3.
const QStringList& CompanyTypeItems();     // RG_TIPO "Tipo de Empresa"
const QStringList& DuplicateSeriesItems(); // RG_SERIE_DUP "Série da Duplicata"

struct CompanyRegister {
    std::map<QString, QString> texts; // by control name
    int companyType = 0;              // RG_TIPO index
    int duplicateSeries = 0;          // RG_SERIE_DUP index
    bool multiBranch = false;         // CB_MULTFIL

    QString text(const QString& name) const;
};

// The register as the company header load left it in ParamLines (call
// data::LoadCompanyHeader first); the company name is the header's, the
// default branch and invoice series take their defaults when empty.
CompanyRegister CompanyRegisterFromLines();

// Saves the register: the stored entry is read again, lines 1 to 6 and 8 to
// 10 replaced by the register's values, line 7 (the access levels) only when
// `mayChangeAccessLevels` (a level-9 user), lines 11 to 20 kept, and the
// entry written with the company name as its title; the company header is
// then loaded again from what was stored. False, with the stored entry and
// the header as they were, when the program's database is not open or
// refused the write.
bool SaveCompanyRegister(const CompanyRegister& record, bool mayChangeAccessLevels);

// "CGC/CNPJ INVÁLIDO." for a CNPJ that is not blank (only the mask's dots,
// slash and dash count as blank) and fails its check digits; empty otherwise.
QString CnpjProblem(const QString& text);
// The same message for a technical responsible's CPF that is not empty and
// fails the CPF's check digits.
QString CpfProblem(const QString& text);
// A postal code as "99999-999"; shorter codes keep their digits without the
// dash, which only goes before digits that follow it ("9000" stays "9000").
QString ShapePostalCode(const QString& text);

} // namespace livrax::registers
