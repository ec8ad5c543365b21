#include "efiles/sintegra_reads.h"

#include "common/numbers.h"
#include "data/routing.h"

namespace livrax::efiles {

using namespace Qt::StringLiterals;

qint64 AmountOf(const data::DbValue& value) {
    if (value.kind() == data::DbValue::Kind::Decimal && value.scale() >= 0 && value.scale() <= 4) {
        const qint64 scaled = value.toScaled();
        return scaled - scaled % 100; // toward zero, as ToScaled(text, 2) cuts
    }
    return ToScaled(value.toString(), 2);
}

QString TableRef(const QString& code, const QString& alias) {
    const QString name = data::ResolveTableName(code);
    const QString as = alias.isEmpty() ? u"VRTN"_s + code : alias;
    return name.compare(as, Qt::CaseInsensitive) == 0 ? name : name + u' ' + as;
}

} // namespace livrax::efiles
