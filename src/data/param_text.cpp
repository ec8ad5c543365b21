#include "data/param_text.h"

#include "common/fields.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

int ParamLineSpan(int count) {
    return count >= 1 && count <= ParamLineCount ? count : ParamLineCount;
}

QString FormatParamText(const QStringList& lines) {
    QString text;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty() || line.trimmed() == u'#') continue;
        text += QString::number(i + 1).rightJustified(3, u'0') + u')' + line + u"\r\n"_s;
    }
    return text;
}

QList<ParamTextLine> ParseParamText(const QString& text, int count) {
    const int span = ParamLineSpan(count);
    QList<ParamTextLine> lines;
    int number = 0;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype end = text.indexOf(u'\r', pos);
        QString line = end < 0 ? text.mid(pos).left(999) : text.mid(pos, end - pos);
        if (line.size() >= 4 && line.at(3) == u')') {
            number = ToInt(line.left(3));
            line = line.mid(4);
        } else {
            ++number;
        }
        if (number >= 1 && number <= ParamLineCount) lines.append({number, line});
        if (number > span || end < 0) break;
        // The line end is CR LF; a lone CR ends the line without taking the
        // next line's first character with it.
        pos = end + 1;
        if (pos < text.size() && text.at(pos) == u'\n') ++pos;
    }
    return lines;
}

} // namespace livrax::data
