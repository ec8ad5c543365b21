#include "expr/designer_suggestions.h"

#include <QComboBox>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace livrax::expr {

namespace {

void Fill(QComboBox& combo, const QStringList& items) {
    const QString shown = combo.currentText();
    combo.clear();
    combo.addItem(QString());
    combo.addItems(items);
    if (combo.isEditable())
        combo.setEditText(shown);
    else
        combo.setCurrentIndex(qMax(0, combo.findText(shown)));
}

} // namespace

void FillFormulaSuggestions(QComboBox& combo) {
    QStringList items = {
        u"COUNT"_s,
        u"SUM(field)"_s,
        u"SUM(field * 2)"_s,
        u"DATE"_s,
        u"TIME"_s,
        u"IF(<EXP>, <X>,<Y>)"_s,
        u"IF(TXTIPO = '3','SEDEX',TXTIPO)"_s,
        u"(CAMPO DO ARQUIVO)"_s,
        u"PRETTY(<Abc>)"_s,
        u"COPY(<X>,<St>,<Len>)"_s,
        u"[DATE]"_s,
        u"[TIME]"_s,
        u"EXTRACT(MONTH FROM DATA) AS MESXX"_s,
        u"[GBULTIMO]"_s,
        u"[GBFUN1]...[GBFUN0]"_s,
        u"[GBSUM1]...[GBSUM0]"_s,
        u"[GBCAMPOA]...[GBCAMPOJ]"_s,
        u"[GB_SEN_USER]"_s,
        u"[GB_SEN_NOMEC]"_s,
        u"[CAE_EMPRESA]"_s,
        u"[CAE_ENDERECO]"_s,
        u"[CAE_CGC]"_s,
        u"[CAE_INSCEST]"_s,
        u"[CAE_CEP]"_s,
        u"[CAE_CIDADE]"_s,
        u"[CAE_EMAIL]"_s,
        u"[CAE_FONE]"_s,
        u"[CAE_ETD]"_s,
        u"[CAP_EMPRESA]"_s,
    };
    items.sort();
    Fill(combo, items);
}

void FillMacroSuggestions(QComboBox& combo) {
    Fill(combo, {
                    u"[CAE_CGC]"_s,
                    u"[CAE_INSCEST]"_s,
                    u"[CAE_EMPRESA]"_s,
                    u"[CAE_FANTASIA]"_s,
                    u"[CAE_ENDERECO]"_s,
                    u"[CAE_CEP]"_s,
                    u"[CAE_CIDADE]"_s,
                    u"[CAE_EMAIL]"_s,
                    u"[CAE_FONE]"_s,
                    u"[CAE_ETD]"_s,
                    u"[CAP_EMPRESA]"_s,
                    u"[DATE]"_s,
                    u"[TIME]"_s,
                    u"[HORA]"_s,
                    u"[DIA]"_s,
                    u"[MES]"_s,
                    u"[ANO]"_s,
                    u"[ANO4]"_s,
                    u"[GB_DIRDEFAULT]"_s,
                    u"[GB_SEN_NIVEL]"_s,
                    u"[GB_SEN_USER]"_s,
                    u"[GB_SEN_NOMEC]"_s,
                    u"[GBCAMPOA]...[GBCAMPJ]"_s,
                    u"[GBFUN1]...[GBFUN0]"_s,
                    u"[GB_TITMOEDA] = [GB_VALMOEDA]"_s,
                });
}

} // namespace livrax::expr
