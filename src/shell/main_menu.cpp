#include "shell/main_menu.h"

namespace livrax::shell {

using namespace Qt::StringLiterals;

const QString ExitCommand = u"SAIR"_s;
const QString PasswordsCommand = u"SENHAS"_s;

namespace {
// Report manager and table maintenance take the table (and the report key).
const QString Reports = u"REPORTS"_s;
const QString Maintenance = u"MAINTENANCE"_s;
} // namespace

const QList<MenuEntry>& MainMenu() {
    static const QList<MenuEntry> menu = {
        {u"Arquivo"_s,
         {},
         {},
         {},
         {{u"Senhas"_s, PasswordsCommand}, {u"-"_s, {}}, {u"Sair"_s, ExitCommand, {}, u"F12"_s}}},
        {u"Especiais"_s,
         {},
         {},
         {},
         {{u"LX40 - Inventário Retroativo"_s, u"LX40"_s},
          {u"LX53 - Registro de Entrada"_s, u"LX53"_s},
          {u"LX55 - Registro de Saida"_s, u"LX55"_s},
          {u"LX67 - Produtos Controlados"_s, u"LX67"_s},
          {u"LX68 - Produtos Controlados - Res.RDC 234"_s, {}},
          {u"LX62 - Planilha de apuração de Crédito Fiscal - Isentos"_s, {}},
          {u"LX64 - Sem Retenção de Subs.Tribut"_s, u"LX64"_s},
          {u"LX52 - GIA Modelo B"_s, u"LX52"_s},
          {u"LX56 - Registro de Apuração do ICMS"_s, u"LX56"_s},
          {u"LX56S - Registro de Apuração do Subst.Tribut"_s, {}},
          {u"LX57 - Registro de Apuração do IPI"_s, u"LX57"_s},
          {u"LX70 - Livro de ISSQN"_s, u"LX70"_s}}},
        {u"Relatórios"_s,
         {},
         {},
         {},
         {{u"PRO - Produtos"_s, Reports, {u"PRO"_s, u"PAR_LFPRO"_s}},
          {u"-"_s, {}},
          {u"PDE - Notas de Entrada"_s, Reports, {u"PDE"_s, u"PAR_LFPDE"_s}},
          {u"PDS - Notas de Saida"_s, Reports, {u"PDS"_s, u"PAR_LFPDS"_s}},
          {u"-"_s, {}},
          {u"PIE - Itens de Entrada"_s, Reports, {u"PIE"_s, u"PAR_LFPIE"_s}},
          {u"PIS - Itens de Saída"_s, Reports, {u"PIS"_s, u"PAR_LFPIS"_s}}}},
        {u"Exportar"_s,
         {},
         {},
         {},
         {{u"Vendas p/Contabilidade - L 01"_s, {}},
          {u"Vendas p/Contabilidade - L 02"_s, {}},
          {u"Duplicatas (DUM) p/Contabilidade - 04"_s, {}},
          {u"Livros Fiscais"_s, {}},
          {u"SINTEGRA - Gias RS/SP "_s, {}},
          {u"SINTEGRA - 2004"_s, u"SINTEGRA2004"_s},
          {u"Proceda (VENDA001) - PDSE01"_s, {}},
          {u"Gia SC - Apuração do ICM"_s, {}},
          {u"DIEF - SC"_s, {}},
          {u"DataHouse"_s, u"DH_PDS"_s},
          {u"DIME_SC"_s, {}}}},
        {u"Importar"_s, {}, {}, {}, {{u"Reverter SINTEGRA"_s, u"REV_SINTEGRA"_s}}},
        {u"Cadastro"_s,
         {},
         {},
         {},
         {{u"CAE - Cadastro da Empresa"_s, u"CAE"_s},
          {u"EPP"_s,
           {},
           {},
           {},
           {{u"Cadastro"_s, u"EPP"_s}, {u"Manutenção"_s, Maintenance, {u"EPP"_s}}}},
          {u"CPC - Contas por Cliente"_s,
           {},
           {},
           {},
           {{u"Cadastro"_s, u"CPC"_s},
            {u"Relatório"_s, Reports, {u"CPC#"_s, QString()}},
            {u"Manutenção"_s, Maintenance, {u"CPC"_s}}}}}},
        {u"Sobre"_s, {}},
        {u"Sair"_s, ExitCommand},
    };
    return menu;
}

const QList<ToolButtonEntry>& ToolBar() {
    static const QList<ToolButtonEntry> buttons = {
        {u"BU_LX53"_s, u"R.Entrada"_s, {}, u"LX53"_s, true},
        {u"BU_LX55"_s, u"Reg.Saída"_s, {}, u"LX55"_s, true},
        {u"BU_LX56"_s, u"Apur. ICM"_s, {}, u"LX56"_s, true},
        {u"BU_LX57"_s, u"Apur. IPI"_s, {}, u"LX57"_s, true},
        {u"BU_CPC"_s, u"Cad. CPC"_s, {}, u"CPC"_s},
        {u"BU_EPP"_s, u"Cad. EPP"_s, {}, u"EPP"_s, true},
        {u"BU_SAIR"_s, {}, u"SAIR"_s, ExitCommand},
    };
    return buttons;
}

bool RepaintsAfter(const QString& command) {
    return command != u"LX64"_s && command != u"LX67"_s && command != u"LX70"_s;
}

} // namespace livrax::shell
