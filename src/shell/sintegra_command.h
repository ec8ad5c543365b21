#pragma once

#include <QString>
#include <QStringList>

namespace livrax::shell {

QString SintegraUsage();

// "livrax sintegra": stages the period and writes the SINTEGRA file as the
// window's "Exportar" does, without windows. The informant data come from
// the company register and the window's saved settings, which the run
// leaves unchanged. Returns the exit status: 1 for a refusal or a failure,
// 2 for a usage error.
int RunSintegraCommand(const QStringList& arguments);

} // namespace livrax::shell
