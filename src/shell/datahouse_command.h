#pragma once

#include <QString>
#include <QStringList>

namespace livrax::shell {

QString DataHouseUsage();

// "livrax datahouse": the DataHouse export of a period as the logged-in user
// without any window: DH_PDS_V.TXT and DH_PDS_C.TXT in the folder, the
// customers lacking CNPJ or postal code listed on stderr. Options not given
// come from the saved settings; the values run with are saved as the
// window's "Sair" saves them. Returns the exit status: 0 done, 1 failed
// (nothing or not everything written, or the settings not saved), 2 usage.
int RunDataHouseCommand(const QStringList& arguments);

} // namespace livrax::shell
