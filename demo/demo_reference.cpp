#include "demo/demo_reference.h"

#include "common/cnpj.h"

namespace livrax::demo {

using namespace Qt::StringLiterals;

namespace {

struct NatureModel {
    int suffix;
    const char16_t* description;
    bool inBooks;
    bool foreign; // also exists for imports (3xxx) and exports (7xxx)
};

const NatureModel EntryNatures[] = {
    {101, u"COMPRA PARA INDUSTRIALIZAÇÃO", true, true},
    {102, u"COMPRA PARA COMERCIALIZAÇÃO", true, true},
    {111, u"COMPRA P/ INDUSTRIALIZAÇÃO DE MERC. EM CONSIGNAÇÃO", true, false},
    {113, u"COMPRA P/ COMERCIALIZAÇÃO DE MERC. EM CONSIGNAÇÃO", true, false},
    {116, u"COMPRA P/ INDUSTRIALIZAÇÃO - RECEBIMENTO FUTURO", true, false},
    {117, u"COMPRA P/ COMERCIALIZAÇÃO - RECEBIMENTO FUTURO", true, false},
    {118, u"COMPRA ENTREGUE PELO VENDEDOR REMETENTE", true, false},
    {120, u"COMPRA P/ INDUSTRIALIZAÇÃO EM VENDA À ORDEM", true, false},
    {121, u"COMPRA P/ COMERCIALIZAÇÃO EM VENDA À ORDEM", true, false},
    {122, u"COMPRA P/ INDUSTRIALIZAÇÃO REMETIDA A TERCEIROS", true, false},
    {124, u"INDUSTRIALIZAÇÃO EFETUADA POR OUTRA EMPRESA", true, false},
    {126, u"COMPRA P/ UTILIZAÇÃO NA PRESTAÇÃO DE SERVIÇO", true, false},
    {151, u"TRANSFERÊNCIA P/ INDUSTRIALIZAÇÃO", true, false},
    {152, u"TRANSFERÊNCIA P/ COMERCIALIZAÇÃO", true, false},
    {201, u"DEVOLUÇÃO DE VENDA DE PRODUÇÃO DO ESTABELECIMENTO", true, true},
    {202, u"DEVOLUÇÃO DE VENDA DE MERCADORIA DE TERCEIROS", true, true},
    {203, u"DEVOLUÇÃO DE VENDA À ZONA FRANCA DE MANAUS", true, false},
    {208, u"DEVOLUÇÃO DE PRODUÇÃO TRANSFERIDA", true, false},
    {209, u"DEVOLUÇÃO DE MERCADORIA TRANSFERIDA", true, false},
    {251, u"COMPRA DE ENERGIA ELÉTRICA P/ COMERCIALIZAÇÃO", true, false},
    {252, u"COMPRA DE ENERGIA ELÉTRICA POR ESTAB. INDUSTRIAL", true, false},
    {253, u"COMPRA DE ENERGIA ELÉTRICA POR ESTAB. COMERCIAL", true, false},
    {301, u"AQUISIÇÃO DE SERVIÇO DE COMUNICAÇÃO", true, false},
    {303, u"AQUISIÇÃO DE COMUNICAÇÃO POR ESTAB. COMERCIAL", true, false},
    {352, u"AQUISIÇÃO DE TRANSPORTE POR ESTAB. INDUSTRIAL", true, false},
    {353, u"AQUISIÇÃO DE TRANSPORTE POR ESTAB. COMERCIAL", true, false},
    {401, u"COMPRA P/ INDUSTRIALIZAÇÃO COM SUBSTITUIÇÃO TRIBUTÁRIA", true, false},
    {403, u"COMPRA P/ COMERCIALIZAÇÃO COM SUBSTITUIÇÃO TRIBUTÁRIA", true, false},
    {406, u"COMPRA DE ATIVO IMOBILIZADO COM SUBST. TRIBUTÁRIA", true, false},
    {407, u"COMPRA P/ USO OU CONSUMO COM SUBST. TRIBUTÁRIA", true, false},
    {410, u"DEVOLUÇÃO DE VENDA DE PRODUÇÃO COM SUBST. TRIBUTÁRIA", true, false},
    {411, u"DEVOLUÇÃO DE VENDA DE MERCADORIA COM SUBST. TRIBUTÁRIA", true, false},
    {551, u"COMPRA DE BEM PARA O ATIVO IMOBILIZADO", true, true},
    {552, u"TRANSFERÊNCIA DE BEM DO ATIVO IMOBILIZADO", true, false},
    {556, u"COMPRA DE MATERIAL PARA USO OU CONSUMO", true, true},
    {557, u"TRANSFERÊNCIA DE MATERIAL PARA USO OU CONSUMO", true, false},
    {901, u"ENTRADA PARA INDUSTRIALIZAÇÃO POR ENCOMENDA", true, false},
    {902, u"RETORNO DE MERCADORIA DE INDUSTRIALIZAÇÃO POR ENCOMENDA", true, false},
    {908, u"ENTRADA DE BEM EM COMODATO", false, false},
    {909, u"RETORNO DE BEM REMETIDO EM COMODATO", false, false},
    {910, u"ENTRADA DE BONIFICAÇÃO, DOAÇÃO OU BRINDE", true, false},
    {911, u"ENTRADA DE AMOSTRA GRÁTIS", true, false},
    {912, u"ENTRADA DE MERCADORIA RECEBIDA EM DEMONSTRAÇÃO", false, false},
    {913, u"RETORNO DE MERCADORIA REMETIDA P/ DEMONSTRAÇÃO", false, false},
    {915, u"ENTRADA DE MERCADORIA P/ CONSERTO OU REPARO", false, false},
    {916, u"RETORNO DE MERCADORIA REMETIDA P/ CONSERTO", false, false},
    {917, u"ENTRADA DE MERCADORIA EM CONSIGNAÇÃO MERCANTIL", true, false},
    {920, u"ENTRADA DE VASILHAME OU SACARIA", false, false},
    {921, u"RETORNO DE VASILHAME OU SACARIA", false, false},
    {933, u"AQUISIÇÃO DE SERVIÇO TRIBUTADO PELO ISSQN", true, false},
    {949, u"OUTRA ENTRADA NÃO ESPECIFICADA", true, true},
};

const NatureModel ExitNatures[] = {
    {101, u"VENDA DE PRODUÇÃO DO ESTABELECIMENTO", true, true},
    {102, u"VENDA DE MERCADORIA ADQUIRIDA DE TERCEIROS", true, true},
    {103, u"VENDA DE PRODUÇÃO EFETUADA FORA DO ESTABELECIMENTO", true, false},
    {104, u"VENDA DE MERCADORIA EFETUADA FORA DO ESTABELECIMENTO", true, false},
    {109, u"VENDA DE PRODUÇÃO À ZONA FRANCA DE MANAUS", true, false},
    {110, u"VENDA DE MERCADORIA À ZONA FRANCA DE MANAUS", true, false},
    {111, u"VENDA DE PRODUÇÃO REMETIDA EM CONSIGNAÇÃO", true, false},
    {112, u"VENDA DE MERCADORIA REMETIDA EM CONSIGNAÇÃO", true, false},
    {116, u"VENDA DE PRODUÇÃO - ENTREGA FUTURA", true, false},
    {117, u"VENDA DE MERCADORIA - ENTREGA FUTURA", true, false},
    {118, u"VENDA DE PRODUÇÃO ENTREGUE AO DESTINATÁRIO À ORDEM", true, false},
    {119, u"VENDA DE MERCADORIA ENTREGUE AO DESTINATÁRIO À ORDEM", true, false},
    {120, u"VENDA DE MERCADORIA EM VENDA À ORDEM", true, false},
    {122, u"VENDA DE PRODUÇÃO REMETIDA P/ INDUSTRIALIZAÇÃO", true, false},
    {124, u"INDUSTRIALIZAÇÃO EFETUADA PARA OUTRA EMPRESA", true, false},
    {151, u"TRANSFERÊNCIA DE PRODUÇÃO DO ESTABELECIMENTO", true, false},
    {152, u"TRANSFERÊNCIA DE MERCADORIA ADQUIRIDA", true, false},
    {201, u"DEVOLUÇÃO DE COMPRA PARA INDUSTRIALIZAÇÃO", true, true},
    {202, u"DEVOLUÇÃO DE COMPRA PARA COMERCIALIZAÇÃO", true, true},
    {208, u"DEVOLUÇÃO DE MERCADORIA RECEBIDA EM TRANSFERÊNCIA", true, false},
    {210, u"DEVOLUÇÃO DE COMPRA P/ UTILIZAÇÃO EM SERVIÇO", true, false},
    {401, u"VENDA DE PRODUÇÃO COM ST - CONTRIBUINTE SUBSTITUTO", true, false},
    {402, u"VENDA DE PRODUÇÃO COM ST ENTRE SUBSTITUTOS", true, false},
    {403, u"VENDA DE MERCADORIA COM ST - CONTRIBUINTE SUBSTITUTO", true, false},
    {405, u"VENDA DE MERCADORIA COM ST - CONTRIBUINTE SUBSTITUÍDO", true, false},
    {408, u"TRANSFERÊNCIA DE PRODUÇÃO COM SUBST. TRIBUTÁRIA", true, false},
    {409, u"TRANSFERÊNCIA DE MERCADORIA COM SUBST. TRIBUTÁRIA", true, false},
    {410, u"DEVOLUÇÃO DE COMPRA P/ INDUSTRIALIZAÇÃO COM ST", true, false},
    {411, u"DEVOLUÇÃO DE COMPRA P/ COMERCIALIZAÇÃO COM ST", true, false},
    {551, u"VENDA DE BEM DO ATIVO IMOBILIZADO", true, true},
    {552, u"TRANSFERÊNCIA DE BEM DO ATIVO IMOBILIZADO", true, false},
    {556, u"DEVOLUÇÃO DE COMPRA DE MATERIAL DE USO OU CONSUMO", true, true},
    {557, u"TRANSFERÊNCIA DE MATERIAL DE USO OU CONSUMO", true, false},
    {901, u"REMESSA PARA INDUSTRIALIZAÇÃO POR ENCOMENDA", true, false},
    {902, u"RETORNO DE MERCADORIA DE INDUSTRIALIZAÇÃO POR ENCOMENDA", true, false},
    {908, u"REMESSA DE BEM EM COMODATO", false, false},
    {909, u"RETORNO DE BEM RECEBIDO EM COMODATO", false, false},
    {910, u"REMESSA EM BONIFICAÇÃO, DOAÇÃO OU BRINDE", true, false},
    {911, u"REMESSA DE AMOSTRA GRÁTIS", true, false},
    {912, u"REMESSA DE MERCADORIA P/ DEMONSTRAÇÃO", false, false},
    {913, u"RETORNO DE MERCADORIA RECEBIDA P/ DEMONSTRAÇÃO", false, false},
    {915, u"REMESSA DE MERCADORIA P/ CONSERTO OU REPARO", false, false},
    {916, u"RETORNO DE MERCADORIA RECEBIDA P/ CONSERTO", false, false},
    {917, u"REMESSA DE MERCADORIA EM CONSIGNAÇÃO MERCANTIL", true, false},
    {920, u"REMESSA DE VASILHAME OU SACARIA", false, false},
    {921, u"DEVOLUÇÃO DE VASILHAME OU SACARIA", false, false},
    {927, u"BAIXA DE ESTOQUE POR PERDA, ROUBO OU DETERIORAÇÃO", true, false},
    {929, u"OPERAÇÃO REGISTRADA EM CUPOM FISCAL", false, false},
    {933, u"PRESTAÇÃO DE SERVIÇO TRIBUTADO PELO ISSQN", true, false},
    {949, u"OUTRA SAÍDA NÃO ESPECIFICADA", true, true},
};

template <typename Models>
void AddNatures(QList<DemoNature>& natures, const Models& models, int firstDigit) {
    for (int origin = 0; origin < 3; ++origin) {
        for (const NatureModel& model : models) {
            if (origin == 2 && !model.foreign) continue;
            natures.append({(firstDigit + origin) * 1000 + model.suffix,
                            QString::fromUtf16(model.description), model.inBooks});
        }
    }
}

} // namespace

QList<DemoNature> DemoNatures() {
    QList<DemoNature> natures;
    AddNatures(natures, EntryNatures, 1);
    AddNatures(natures, ExitNatures, 5);
    return natures;
}

QList<DemoState> DemoStates() {
    // Operations inside Rio Grande do Sul pay the internal rate; to the other
    // states of the South and Southeast the interstate rate is 12%.
    return {
        {u"RS"_s,
         {u"PORTO ALEGRE"_s, u"CAXIAS DO SUL"_s, u"PELOTAS"_s, u"CANOAS"_s, u"SANTA MARIA"_s,
          u"NOVO HAMBURGO"_s, u"PASSO FUNDO"_s},
         60,
         17},
        {u"SP"_s, {u"SÃO PAULO"_s, u"CAMPINAS"_s, u"SANTOS"_s, u"SOROCABA"_s}, 14, 12},
        {u"RJ"_s, {u"RIO DE JANEIRO"_s, u"NITERÓI"_s, u"PETRÓPOLIS"_s}, 8, 12},
        {u"PR"_s, {u"CURITIBA"_s, u"LONDRINA"_s, u"MARINGÁ"_s}, 9, 12},
        {u"SC"_s, {u"FLORIANÓPOLIS"_s, u"JOINVILLE"_s, u"BLUMENAU"_s}, 9, 12},
    };
}

QList<DemoProductModel> DemoProductModels() {
    using K = ProductKind;
    return {
        {u"PAPEL SULFITE A4 75G RESMA 500 FLS"_s, u"RS"_s, K::Goods, 245000},
        {u"CANETA ESFEROGRÁFICA AZUL CX 50"_s, u"CX"_s, K::Goods, 389000},
        {u"LUVA DE PROCEDIMENTO LÁTEX CX 100"_s, u"CX"_s, K::Goods, 329000},
        {u"SERINGA DESCARTÁVEL 5ML CX 100"_s, u"CX"_s, K::Goods, 459000},
        {u"ÁLCOOL ETÍLICO 70% 1L"_s, u"UN"_s, K::Goods, 89000},
        {u"ALGODÃO HIDRÓFILO 500G"_s, u"PC"_s, K::Goods, 159000},
        {u"GAZE ESTÉRIL 7,5X7,5 PCT 10"_s, u"PC"_s, K::Goods, 24500, {}, false},
        {u"ESPARADRAPO 10CM X 4,5M"_s, u"UN"_s, K::Goods, 119000},
        {u"DIPIRONA SÓDICA 500MG CX 10 COMP"_s, u"CX"_s, K::Substitution, 45000},
        {u"PARACETAMOL 750MG CX 20 COMP"_s, u"CX"_s, K::Substitution, 79000},
        {u"IBUPROFENO 600MG CX 20 COMP"_s, u"CX"_s, K::Substitution, 129000},
        {u"AMOXICILINA 500MG CX 21 CÁPS"_s, u"CX"_s, K::Substitution, 249000},
        {u"OMEPRAZOL 20MG CX 28 CÁPS"_s, u"CX"_s, K::Substitution, 189000},
        {u"LOSARTANA POTÁSSICA 50MG CX 30 COMP"_s, u"CX"_s, K::Substitution, 159000},
        {u"SORO FISIOLÓGICO 0,9% 500ML"_s, u"FR"_s, K::Substitution, 69000, u"O"_s},
        {u"PROTETOR SOLAR FPS 50 120ML"_s, u"UN"_s, K::Substitution, 599000, u"O"_s},
        {u"CLONAZEPAM 2MG CX 30 COMP"_s, u"CX"_s, K::Controlled, 219000, u"C"_s},
        {u"DIAZEPAM 10MG CX 30 COMP"_s, u"CX"_s, K::Controlled, 149000, u"D"_s},
        {u"ALPRAZOLAM 1MG CX 30 COMP"_s, u"CX"_s, K::Controlled, 289000, u"C"_s},
        {u"FLUOXETINA 20MG CX 28 CÁPS"_s, u"CX"_s, K::Controlled, 199000, u"D"_s},
        {u"SERTRALINA 50MG CX 30 COMP"_s, u"CX"_s, K::Controlled, 349000, u"C"_s},
        {u"TRAMADOL 50MG CX 10 CÁPS"_s, u"CX"_s, K::Controlled, 269000, u"D"_s},
        {u"CADEIRA DE RODAS DOBRÁVEL AÇO"_s, u"UN"_s, K::Industrial, 6490000},
        {u"MULETA AXILAR ALUMÍNIO PAR"_s, u"PR"_s, K::Industrial, 1590000},
        {u"ANDADOR ARTICULADO ALUMÍNIO"_s, u"UN"_s, K::Industrial, 2390000},
        {u"MACA HOSPITALAR FIXA"_s, u"UN"_s, K::Industrial, 11900000},
        {u"SUPORTE DE SORO INOX"_s, u"UN"_s, K::Industrial, 3290000},
        {u"SERVIÇO DE MANUTENÇÃO DE EQUIPAMENTOS"_s, u"SV"_s, K::Service, 1800000},
        {u"SERVIÇO DE CALIBRAÇÃO"_s, u"SV"_s, K::Service, 950000},
        {u"SERVIÇO DE INSTALAÇÃO"_s, u"SV"_s, K::Service, 1200000},
    };
}

QStringList DemoCompanyRecord() {
    const QString base = u"123456780001"_s;
    const QString cnpj = base + CnpjCheckDigits(base);
    const QString masked = cnpj.left(2) + u'.' + cnpj.mid(2, 3) + u'.' + cnpj.mid(5, 3) + u'/' +
                           cnpj.mid(8, 4) + u'-' + cnpj.mid(12, 2);
    return {
        // name # address # trade name
        u"DISTRIBUIDORA MODELO DE PRODUTOS HOSPITALARES LTDA#AV. DAS AMOREIRAS, 1200#MODELO HOSPITALAR"_s,
        // city # state # postal code # district
        u"PORTO ALEGRE#RS#90010-150#CENTRO HISTÓRICO"_s,
        // area prefix # phone # fax # e-mail
        u"51#3221-4000#3221-4001#fiscal@modelohospitalar.com.br"_s,
        // CNPJ # state registration # municipal registration
        masked + u"#0960123458#1234567"_s,
        // company type (1 = general) # duplicate series (0 = numeric)
        u"1#0"_s,
        // default branch # invoice series # multiple branches
        u"001#1#N"_s,
        // access levels allowed for this data folder
        u"123456789"_s,
        // medicine distributor: authorisation # qualification # name # position # phone #
        // e-mail # operating authorisation # operating licence
        u"1.02345.6#Distribuidora de Medicamentos#MARIA DA SILVA#DIRETORA#51 3221-4000#maria@modelohospitalar.com.br#AFE-1234567#LF-2026-001"_s,
        // technical responsible: CPF # name # address # phone # fax # e-mail # CRF state # number
        u"123.456.789-09#JOÃO PEREIRA#RUA DOS ANDRADAS, 500#51 3221-4002#51 3221-4001#farmacia@modelohospitalar.com.br#RS#12345"_s,
        // workstations # internet access # person responsible # e-mail
        u"6#Acesso Permanente IP Fixo#CARLOS SOUZA#ti@modelohospitalar.com.br"_s,
    };
}

} // namespace livrax::demo
