#include "data/param_text.h"

namespace livrax::data {

QString FormatParamText(const QStringList& lines) {
    QString text;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty() || line.trimmed() == u'#') continue;
        text += QString::number(i + 1).rightJustified(3, u'0') + u')' + line + QStringLiteral("\r\n");
    }
    return text;
}

} // namespace livrax::data
