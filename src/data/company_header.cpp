#include "data/company_header.h"

#include "common/fields.h"
#include "data/connection.h"
#include "data/globals.h"
#include "data/param_store.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {

// Field `field` of ParamLines line `line`, cut to `length` (0: uncut).
QString Field(int line, int field, int length = 0) {
    const QStringList fields = SplitToList(ParamLines().line(line));
    const QString value = fields.value(field - 1);
    return length > 0 ? value.left(length) : value;
}

} // namespace

void LoadCompanyHeader() {
    Connection* store = ParamDatabase();
    if (store->path().isEmpty()) return;
    if (!ParamRead(store, CompanyRegisterKey, 20)) return;
    TRecCae& company = Globals().company;
    company.name = Field(1, 1, 60);
    company.tradeName = Field(1, 3, 20);
    company.address = Field(1, 2, 60);
    company.cnpj = Field(4, 1, 20);
    company.stateRegistration = Field(4, 2, 20);
    company.municipalRegistration = Field(4, 3, 20);
    company.city = Field(2, 1, 30);
    company.state = Field(2, 2, 2);
    company.postalCode = Field(2, 3, 9);
    company.phone = Field(3, 2, 40);
    company.fax = Field(3, 3, 20);
    company.email = Field(3, 4, 40);
    company.companyCode = ZeroPad(QString::number(ToInt(Field(6, 1))), 3);
    company.companyCodeCopy = company.companyCode;
    company.multiBranch = Field(6, 3, 1);
    company.duplicateSeries = ToInt(Field(5, 2));
    company.invoiceSeries = Field(6, 2, 2);
    company.accessLevels = ParamLines().line(7);
    if (company.multiBranch.isEmpty()) company.multiBranch = u"N"_s;
    if (company.currentBranch.isEmpty()) company.currentBranch = company.companyCode;
    company.branchFilter =
        company.multiBranch == u"S"_s ? u" AND FILIAL = "_s + company.currentBranch : QString();
    // The access levels allowed for this data folder are kept for the
    // register; no user is refused (the suite's log-in already checked the
    // user's rights).
}

} // namespace livrax::data
