#include "demo/demo_help.h"

#include "data/connection.h"
#include "data/statement.h"
#include "data/transaction.h"

namespace livrax::demo {

using namespace Qt::StringLiterals;

namespace {

// The colour table every topic starts with: 1 red (a heading of the same
// text), 2 blue (a search of other topics).
#define DEMO_RTF_HEAD                                                                              \
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Verdana;}}"                 \
    "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\f0\\fs20 "

struct DemoTopic {
    int number;
    const char16_t* title;
    const char* text;
    QStringList keys;
};

QList<DemoTopic> Topics() {
    return {
        {1,
         u"Como usar o Help",
         DEMO_RTF_HEAD
         "{\\b Como usar o Help}\\par\\par "
         "Digite uma palavra em \"Texto para Pesquisa\" e tecle Enter: as chaves que a contêm "
         "aparecem primeiro, depois os títulos.\\par "
         "Palavras em {\\cf1 vermelho} levam a um título do mesmo texto; palavras em "
         "{\\cf2 azul} procuram outros tópicos, como {\\cf2 PESQC} ou {\\cf2 FCPC}.\\par\\par "
         "{\\b vermelho:} um título deste texto, alcançado pela palavra em vermelho acima.\\par}",
         {u"HELP"_s, u"Ajuda"_s}},
        {2,
         u"Pesquisa/Consulta (PESQC)",
         DEMO_RTF_HEAD
         "{\\b PESQC - Pesquisa/Consulta}\\par\\par "
         "Mostra as linhas de uma tabela numa grade. Veja {\\cf1 Filtros} e {\\cf1 Ordem}; "
         "as contas por cliente estão em {\\cf2 FCPC}.\\par\\par "
         "{\\b Filtros:} dois campos com seus valores, um intervalo de datas e um filtro "
         "livre restringem as linhas.\\par\\par "
         "{\\b Ordem:} um clique no título de uma coluna ordena a grade por ela.\\par}",
         {u"PESQC"_s, u"Pesquisa"_s}},
        {3,
         u"Contas por Cliente e Operação (FCPC)",
         DEMO_RTF_HEAD
         "{\\b FCPC - Contas por Cliente e Opera\\'e7\\'e3o}\\par\\par "
         "Para cada cliente (SIGLA) e natureza de opera\\'e7\\'e3o, as contas de d\\'e9bito e "
         "cr\\'e9dito e os hist\\'f3ricos da contabiliza\\'e7\\'e3o. A consulta usa a "
         "{\\cf2 PESQC}.\\par}",
         {u"FCPC"_s, u"CPC"_s}},
        {4,
         u"Designer de relatórios (PFMQF)",
         DEMO_RTF_HEAD
         "{\\b PFMQF - Designer de relat\\'f3rios}\\par\\par "
         "Define os campos, t\\'edtulos, filtros e a ordem de um relat\\'f3rio do usu\\'e1rio. "
         "Veja tamb\\'e9m {\\cf2 PESQC}.\\par}",
         {u"PFMQF"_s, u"Relatórios"_s}},
    };
}

} // namespace

void WriteDemoHelp(data::Connection& database) {
    data::Transaction transaction(database);
    data::Statement topic(database, transaction,
                          u"INSERT INTO VRTNHLD (SEQ,TITULO,TEXTO) VALUES (:P_SEQ,:P_TITULO,"
                          u":P_TEXTO)"_s);
    data::Statement key(database, transaction,
                        u"INSERT INTO VRTNHLP (SEQ,SEQHLD,CHAVE) VALUES (:P_SEQ,:P_SEQHLD,"
                        u":P_CHAVE)"_s);
    int keyNumber = 0;
    for (const DemoTopic& entry : Topics()) {
        topic.bind(u"P_SEQ"_s, entry.number);
        topic.bind(u"P_TITULO"_s, QString::fromUtf16(entry.title));
        // Accented letters written as such in the texts are UTF-8 here;
        // stored through the connection's Windows-1252 they become the raw
        // bytes a rich-text reader takes in that code page.
        topic.bind(u"P_TEXTO"_s, QString::fromUtf8(entry.text));
        topic.execute();
        for (const QString& text : entry.keys) {
            key.bind(u"P_SEQ"_s, ++keyNumber);
            key.bind(u"P_SEQHLD"_s, entry.number);
            key.bind(u"P_CHAVE"_s, text);
            key.execute();
        }
    }
    transaction.commit();
}

} // namespace livrax::demo
