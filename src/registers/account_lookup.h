#pragma once
// Looking an account up in the plan of accounts (CBP) by what the user
// typed: its short code (CBSIGLA), its edited or plain number, or its
// abbreviated number (RESUMIDA).

#include <QString>

namespace livrax::registers {

// The account last found by FindAccount, kept until the next lookup that
// finds one.
struct AccountLookupResult {
    QString seqCbp; // SEQ_CBP
    QString edConta;
    QString nome;
    QString contaF;
    QString cCusto;
    QString adic;
    QString conta;
    QString natureza;
    QString sa;
};

const AccountLookupResult& LastAccountFound();

// The account (CONTA) whose CBSIGLA is the text, or whose EDCONTA or CONTA
// is, or, when the text holds only digits, whose RESUMIDA is; the last three
// only among accounts of kind `sa` ("A" analytic, "S" synthetic) unless sa is
// "*". The text is upper-cased and bound as a parameter, so any character
// may be typed. Empty for an empty text, "*" when no account matches or the
// plan cannot be read.
QString FindAccount(const QString& text, const QString& sa);

} // namespace livrax::registers
