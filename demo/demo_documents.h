#pragma once

#include "demo/demo_random.h"

#include <QList>
#include <QString>

namespace livrax::demo {

// Registration numbers for the demo partners: real check digits, so that the
// partners pass every validation the program and the tax authorities apply.

// A CNPJ with its mask, "99.999.999/9999-99".
QString MakeCnpj(DemoRandom& random);

// A state registration valid for `state` (SP, RJ, PR, RS or SC), digits only.
QString MakeStateRegistration(DemoRandom& random, const QString& state);

// `base` with the check digits of `state` added: SP takes ten digits (the
// first check digit goes after the eighth), RJ seven, PR eight, RS nine and
// SC eight.
QString CompleteStateRegistration(const QString& state, const QString& base);

// The check digit of `digits` under the modulo-11 rule with the given
// weights, where remainders below 2 give 0 ("small" rule) or where results of
// 10 and 11 give 0 ("large" rule): both appear among the states.
int Modulo11Digit(const QString& digits, const QList<int>& weights);

} // namespace livrax::demo
