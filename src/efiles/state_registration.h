#pragma once
// State registrations (inscrição estadual): the federation units and the
// check-digit rule each state's revenue office publishes for its numbers.

#include <QString>
#include <QStringList>

namespace livrax::efiles {

// True for the two-letter code of one of the 27 federation units ("SP",
// "DF"); false for anything else, "EX" included.
bool IsStateCode(const QString& state);

// The states whose registrations StateRegistrationProblem checks digit by
// digit, in alphabetical order.
QStringList CheckedRegistrationStates();

// Why `text` is not a valid state registration of `state`, in Portuguese;
// empty when it is valid. "ISENTO" is accepted for every state; a blank text
// never is. "." "-" "/" and spaces are ignored. A registration of a state not
// in CheckedRegistrationStates() is accepted as written.
QString StateRegistrationProblem(const QString& state, const QString& text);

} // namespace livrax::efiles
