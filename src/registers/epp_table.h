#pragma once
// The EPP brackets: for each year and month, up to 30 brackets of a lower
// amount (DE), an upper amount (ATÉ) and a discount rate (DESCONTO), one row
// of the table EPP (VRTNEPP, or its per-company copy) per year and month.
// Amounts are carried as hundredths and bound to the statements exactly.

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace livrax::registers {

inline constexpr int EppBracketCount = 30;
// Digits before the decimal point: DE and ATÉ are NUMERIC(15,2), DESCONTO
// NUMERIC(5,2).
inline constexpr int EppAmountDigits = 13;
inline constexpr int EppRateDigits = 3;

struct EppBracket {
    qint64 from = 0;     // DEn, hundredths
    qint64 to = 0;       // ATEn
    qint64 discount = 0; // DESCn, hundredths of a percent
    bool operator==(const EppBracket&) const = default;
};

struct EppRecord {
    QString year;  // ANO, four digits
    QString month; // MES, two digits
    std::array<EppBracket, EppBracketCount> brackets{};
};

// The physical table of the EPP code for the current company.
QString EppTableName();

// Every row, ordered by year and month. Throws DbError.
std::vector<EppRecord> LoadEppRecords();

// True when a row with that year and month exists. Throws DbError.
bool EppKeyExists(const QString& year, const QString& month);

// The key of a new record as the user typed it.
struct EppNewKey {
    QString year;             // ZeroPad(4)
    QString month;            // ZeroPad(2)
    QString refusal;          // "ANO INVÁLIDO." or "MÊS INVÁLIDO." when refused
    bool yearWarning = false; // "AVISO - VERIFIQUE O ANO." before going on
};

// Checks a typed year and month: each must be digits only (at most 4 and 2
// of them); the month at most 12 ("00" is taken); a year before 1992 or after
// `currentYear` + 1 only warns.
EppNewKey CheckEppKey(const QString& yearText, const QString& monthText, int currentYear);

// Saves the record in one transaction: the row is created (ANO, MES, FILIAL
// 0) when its key is missing, then every bracket is written. Nothing is
// stored when any step fails. Throws DbError.
void SaveEppRecord(const EppRecord& record);

// Deletes the row of that year and month (audit-logged). False on failure.
bool DeleteEppRecord(const QString& year, const QString& month);

// Reads the bracket texts of a window (DE, ATÉ, DESCONTO, bracket n at index
// n - 1) into the record; on the first text that is not an amount, or too
// large for its column, nothing is read and the refusal names the field
// ("DE 3", "ATÉ 12", "DESCONTO 30").
struct EppBracketTexts {
    std::array<QString, EppBracketCount> from, to, discount;
};
std::optional<QString> ReadEppBrackets(const EppBracketTexts& texts, EppRecord& record);

// The lower amounts chained to the upper ones: for each bracket n from 2 to
// 30 whose ATÉ is a non-zero amount, DE n becomes ATÉ n-1 plus 0,01 (left as
// typed when ATÉ n-1 is not an amount).
void ChainEppBrackets(EppBracketTexts& texts);

} // namespace livrax::registers
