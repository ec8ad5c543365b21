-- ERP tables that LIVRAX reads and, in a few cases, writes.
-- Physical names are VRTN followed by the three-letter table code. An installation
-- may keep a table once per company with the company code appended (VRTNPDE001),
-- but the books and file generators name the plain tables in their SQL text, so a
-- fresh database is created with the plain names.
-- Amount columns of the invoice headers and items keep four decimals: the books cut
-- every amount to two decimals themselves (10,009 prints 10,00), so the column must
-- not round it away on the way in.

-- EMP: partners (customers and suppliers), one row per partner code SIGLA.
-- EMPRESA name, FJ J for a company and F for a person, CGC the CNPJ or CPF as typed
-- with its mask, INSCEST the state registration (ISENTO when exempt), PAIS the
-- country (a value not starting with BR makes the SINTEGRA state EX), EMAIL the
-- address the e-mail window looks partners up by.
CREATE TABLE VRTNEMP (
    SIGLA VARCHAR(20) NOT NULL,
    EMPRESA VARCHAR(50),
    FJ CHAR(1),
    CGC VARCHAR(20),
    INSCEST VARCHAR(20),
    ENDERECO VARCHAR(50),
    BAIRRO VARCHAR(30),
    CIDADE VARCHAR(30),
    ESTADO CHAR(2),
    CEP VARCHAR(9),
    PAIS VARCHAR(20),
    TELEFONE VARCHAR(15),
    EMAIL VARCHAR(60),
    PRIMARY KEY (SIGLA)
);
CREATE INDEX IX_EMP_CGC ON VRTNEMP (CGC);
CREATE INDEX IX_EMP_EMPRESA ON VRTNEMP (EMPRESA);
CREATE INDEX IX_EMP_EMAIL ON VRTNEMP (EMAIL);

-- CID: cities and their code in the accounting office table (DataHouse export).
-- A partner city is matched on its first 14 characters, a missing or zero code
-- is written as 965.
CREATE TABLE VRTNCID (
    CODIGO INTEGER NOT NULL,
    CIDADE VARCHAR(30),
    PRIMARY KEY (CODIGO)
);
CREATE INDEX IX_CID_CIDADE ON VRTNCID (CIDADE);

-- NAT: natures of operation, one row per CFOP (NATOPER, a four-digit number).
-- DESCRICAO full text, RESUMIDA short text shown in the ICMS settlement grid,
-- ATUGIAICM N leaves every invoice of the nature out of the books.
CREATE TABLE VRTNNAT (
    NATOPER INTEGER NOT NULL,
    DESCRICAO VARCHAR(60),
    RESUMIDA VARCHAR(30),
    ATUGIAICM CHAR(1),
    PRIMARY KEY (NATOPER)
);

-- PRO: products. NOME description, RESUMIDA short name (medicine name in the
-- controlled list), UNIDADE unit, CLASFISC fiscal classification (printed as the
-- DCB number for medicines), APRES presentation, TIPOPRO O oncological, C or D
-- controlled medicine, SUBSTRIB S subject to tax substitution, ST tax situation
-- code of the SINTEGRA item record, ICMPERC IPIPERC REDICM rates of the product
-- record, SALDOINIC opening stock balance, CUSTOMED average cost, ENTVALOR last
-- purchase price and the price columns the inventory can value the stock at.
-- No column here may share a name with an item column that the inventory and the
-- matching build use unqualified (QUANT, VALOR, PEDIDO, SEQ, NNOTA, NATOPER, FAT,
-- ATUPRO, DTNOTA).
CREATE TABLE VRTNPRO (
    PRODUTO VARCHAR(20) NOT NULL,
    NOME VARCHAR(60),
    RESUMIDA VARCHAR(30),
    UNIDADE VARCHAR(6),
    CLASFISC VARCHAR(15),
    APRES VARCHAR(30),
    TIPOPRO CHAR(1),
    SUBSTRIB CHAR(1),
    ST VARCHAR(3),
    ICMPERC NUMERIC(5,2),
    IPIPERC NUMERIC(5,2),
    REDICM NUMERIC(5,2),
    SALDOINIC NUMERIC(15,4),
    CUSTOMED NUMERIC(15,4),
    ENTVALOR NUMERIC(15,4),
    PRVENDA NUMERIC(15,4),
    PRMAX NUMERIC(15,4),
    PRMIN NUMERIC(15,4),
    PRA NUMERIC(15,4),
    PRI NUMERIC(15,4),
    PRX NUMERIC(15,4),
    PRCOMPRA NUMERIC(15,4),
    PRCUSTO NUMERIC(15,4),
    PRIMARY KEY (PRODUTO)
);
CREATE INDEX IX_PRO_NOME ON VRTNPRO (NOME);

-- PDE: purchase invoice headers (notas de entrada), one row per document, keyed by
-- the document number PEDIDO that the items and the LX50 matching table point at.
-- NNOTA invoice number, SERIE series, ESPECIE document kind (NFF), SIGLA supplier,
-- ESTADO supplier state, DATA entry date (period of the entry books), DTNOTA
-- issue date, NATOPER CFOP, FAT F invoiced or C cancelled, NUMERO internal number
-- of the document, VOLESPEC volume species (its first two characters give the
-- freight model), FRETEFC CIF or FOB code, DTINCL and DTALT dates of inclusion and
-- last change. Amounts: VALOR merchandise total over which the header discount
-- DESCVALOR and charges ENCARGOS are apportioned, VALORA products value, FRETE
-- freight, LIQUIDO document total (valor contabil), then the ICMS, tax substitution
-- and IPI bases, rates, taxes, exempt and other amounts.
CREATE TABLE VRTNPDE (
    PEDIDO INTEGER NOT NULL,
    FILIAL INTEGER,
    NUMERO INTEGER,
    NNOTA INTEGER,
    SERIE VARCHAR(2),
    ESPECIE VARCHAR(5),
    SIGLA VARCHAR(20),
    ESTADO CHAR(2),
    DATA DATE,
    DTNOTA DATE,
    NATOPER INTEGER,
    FAT CHAR(1),
    VOLESPEC VARCHAR(20),
    FRETEFC CHAR(1),
    VALOR NUMERIC(15,4),
    VALORA NUMERIC(15,4),
    DESCVALOR NUMERIC(15,4),
    ENCARGOS NUMERIC(15,4),
    FRETE NUMERIC(15,4),
    LIQUIDO NUMERIC(15,4),
    ICMBASE NUMERIC(15,4),
    ICMPERC NUMERIC(7,4),
    ICMVALOR NUMERIC(15,4),
    ICMISENTAS NUMERIC(15,4),
    ICMOUTRAS NUMERIC(15,4),
    SUBSTRBASE NUMERIC(15,4),
    SUBSTRVALOR NUMERIC(15,4),
    IPIBASE NUMERIC(15,4),
    IPIPERC NUMERIC(7,4),
    IPIVALOR NUMERIC(15,4),
    IPIISENTAS NUMERIC(15,4),
    IPIOUTRAS NUMERIC(15,4),
    DTINCL DATE,
    DTALT DATE,
    PRIMARY KEY (PEDIDO)
);
CREATE INDEX IX_PDE_DATA ON VRTNPDE (DATA);
CREATE INDEX IX_PDE_DTNOTA ON VRTNPDE (DTNOTA);
CREATE INDEX IX_PDE_NNOTA ON VRTNPDE (NNOTA);
CREATE INDEX IX_PDE_NATOPER ON VRTNPDE (NATOPER);
CREATE INDEX IX_PDE_SIGLA ON VRTNPDE (SIGLA);

-- PIE: purchase invoice items, one row per item SEQ of the document PEDIDO.
-- The item repeats the header NNOTA, SERIE, SIGLA, DATA (entry date), NATOPER and
-- FAT. ATUPRO N, X or * means the item does not move stock. PRODUTO product code,
-- QUANT quantity, VALOR unit price, VALORA products value of the item, DESCVALOR
-- and VALDESC two discounts, CONTABIL accounting value, ICMPERC item ICMS rate,
-- ICMVALOR, SUBSTR retained ICMS, IPIVALOR, CUSTOMED average cost after the entry,
-- NUMERO internal number of the document.
CREATE TABLE VRTNPIE (
    PEDIDO INTEGER NOT NULL,
    SEQ INTEGER NOT NULL,
    FILIAL INTEGER,
    NUMERO INTEGER,
    NNOTA INTEGER,
    SERIE VARCHAR(2),
    SIGLA VARCHAR(20),
    DATA DATE,
    NATOPER INTEGER,
    FAT CHAR(1),
    ATUPRO CHAR(1),
    PRODUTO VARCHAR(20),
    QUANT NUMERIC(15,4),
    VALOR NUMERIC(15,4),
    VALORA NUMERIC(15,4),
    DESCVALOR NUMERIC(15,4),
    VALDESC NUMERIC(15,4),
    CONTABIL NUMERIC(15,4),
    ICMPERC NUMERIC(7,4),
    ICMVALOR NUMERIC(15,4),
    SUBSTR NUMERIC(15,4),
    IPIVALOR NUMERIC(15,4),
    CUSTOMED NUMERIC(15,4),
    PRIMARY KEY (PEDIDO, SEQ)
);
CREATE INDEX IX_PIE_PRODUTO_DATA ON VRTNPIE (PRODUTO, DATA);
CREATE INDEX IX_PIE_DATA ON VRTNPIE (DATA);

-- PDS: sales invoice headers (notas de saida), keyed by PEDIDO like the purchase
-- headers and with the same columns, because the books let a filter built on the
-- purchase header run on this table. DATA is the exit date, DTNOTA the issue date
-- (period of the exit books and of the SINTEGRA exits). Own columns: VP V for a
-- cash sale or P for a sale on credit, ISQNBASE ISQNVALOR ISQNRET base, tax and
-- withheld amount of the municipal service tax.
CREATE TABLE VRTNPDS (
    PEDIDO INTEGER NOT NULL,
    FILIAL INTEGER,
    NUMERO INTEGER,
    NNOTA INTEGER,
    SERIE VARCHAR(2),
    ESPECIE VARCHAR(5),
    SIGLA VARCHAR(20),
    ESTADO CHAR(2),
    DATA DATE,
    DTNOTA DATE,
    NATOPER INTEGER,
    FAT CHAR(1),
    VP CHAR(1),
    VOLESPEC VARCHAR(20),
    FRETEFC CHAR(1),
    VALOR NUMERIC(15,4),
    VALORA NUMERIC(15,4),
    DESCVALOR NUMERIC(15,4),
    ENCARGOS NUMERIC(15,4),
    FRETE NUMERIC(15,4),
    LIQUIDO NUMERIC(15,4),
    ICMBASE NUMERIC(15,4),
    ICMPERC NUMERIC(7,4),
    ICMVALOR NUMERIC(15,4),
    ICMISENTAS NUMERIC(15,4),
    ICMOUTRAS NUMERIC(15,4),
    SUBSTRBASE NUMERIC(15,4),
    SUBSTRVALOR NUMERIC(15,4),
    IPIBASE NUMERIC(15,4),
    IPIPERC NUMERIC(7,4),
    IPIVALOR NUMERIC(15,4),
    IPIISENTAS NUMERIC(15,4),
    IPIOUTRAS NUMERIC(15,4),
    ISQNBASE NUMERIC(15,4),
    ISQNVALOR NUMERIC(15,4),
    ISQNRET NUMERIC(15,4),
    DTINCL DATE,
    DTALT DATE,
    PRIMARY KEY (PEDIDO)
);
CREATE INDEX IX_PDS_DTNOTA ON VRTNPDS (DTNOTA);
CREATE INDEX IX_PDS_DATA ON VRTNPDS (DATA);
CREATE INDEX IX_PDS_NNOTA ON VRTNPDS (NNOTA);
CREATE INDEX IX_PDS_NATOPER ON VRTNPDS (NATOPER);
CREATE INDEX IX_PDS_SIGLA ON VRTNPDS (SIGLA);

-- PIS: sales invoice items, one row per item SEQ of the document PEDIDO, with the
-- item columns of the purchase items plus DTNOTA (issue date, the date the
-- inventory and the matching build use for exits), DESCRICAO item description and
-- LOTE batch (printed in the controlled medicines list). DATA is the exit date.
CREATE TABLE VRTNPIS (
    PEDIDO INTEGER NOT NULL,
    SEQ INTEGER NOT NULL,
    FILIAL INTEGER,
    NNOTA INTEGER,
    SERIE VARCHAR(2),
    SIGLA VARCHAR(20),
    DATA DATE,
    DTNOTA DATE,
    NATOPER INTEGER,
    FAT CHAR(1),
    ATUPRO CHAR(1),
    PRODUTO VARCHAR(20),
    DESCRICAO VARCHAR(60),
    LOTE VARCHAR(20),
    QUANT NUMERIC(15,4),
    VALOR NUMERIC(15,4),
    VALORA NUMERIC(15,4),
    DESCVALOR NUMERIC(15,4),
    VALDESC NUMERIC(15,4),
    CONTABIL NUMERIC(15,4),
    ICMPERC NUMERIC(7,4),
    ICMVALOR NUMERIC(15,4),
    SUBSTR NUMERIC(15,4),
    IPIVALOR NUMERIC(15,4),
    CUSTOMED NUMERIC(15,4),
    PRIMARY KEY (PEDIDO, SEQ)
);
CREATE INDEX IX_PIS_PRODUTO_DTNOTA ON VRTNPIS (PRODUTO, DTNOTA);
CREATE INDEX IX_PIS_DTNOTA ON VRTNPIS (DTNOTA);
CREATE INDEX IX_PIS_DATA ON VRTNPIS (DATA);

-- P50: sold quantities matched first-in first-out to the purchase they came from,
-- rebuilt by LX50 and printed by LX64. One row per matched piece of an exit item:
-- the exit item (PRODUTO, DTNOTA, PEDIDO, SEQ, NNOTA, SERIE, SIGLA), the piece
-- quantity QUANT, the running stock SALDO after it, and the matched entry item
-- (NNOTAE, SERIEE, DATAE, PEDIDOE, SEQE, empty when none). NATOPER stays empty.
-- The program creates this table with exactly these columns when it is missing.
CREATE TABLE VRTNP50 (
    LX50_SEQ INTEGER NOT NULL,
    PRODUTO VARCHAR(20),
    DTNOTA DATE,
    PEDIDO INTEGER,
    SEQ INTEGER,
    NNOTA INTEGER,
    SERIE CHAR(2),
    NATOPER INTEGER,
    SIGLA VARCHAR(20),
    QUANT NUMERIC(18,4),
    SALDO NUMERIC(18,4),
    NNOTAE INTEGER,
    SERIEE CHAR(2),
    DATAE DATE,
    PEDIDOE INTEGER,
    SEQE INTEGER,
    PRIMARY KEY (LX50_SEQ)
);

-- FCA: air bills of lading issued by the company (freight documents of the
-- SINTEGRA record 70). NCONHEC number, FILIAL branch (the company code), DTEMIS
-- issue date, STATUS C cancelled or * deleted, TOTAL, BASECALC, VALICM amounts,
-- TFRETE P for paid at origin (CIF) or other, DESCGC DESIE DESESTADO DESNOME the
-- service taker, NATOPER CFOP.
CREATE TABLE VRTNFCA (
    NCONHEC INTEGER NOT NULL,
    FILIAL INTEGER NOT NULL,
    DTEMIS DATE,
    STATUS CHAR(1),
    TOTAL NUMERIC(15,2),
    BASECALC NUMERIC(15,2),
    VALICM NUMERIC(15,2),
    TFRETE CHAR(1),
    DESCGC VARCHAR(20),
    DESIE VARCHAR(20),
    DESESTADO CHAR(2),
    DESNOME VARCHAR(50),
    NATOPER INTEGER,
    PRIMARY KEY (NCONHEC, FILIAL)
);
CREATE INDEX IX_FCA_DTEMIS ON VRTNFCA (DTEMIS);

-- FCT: road bills of lading, as the air ones with VALTOTAL for the total and
-- DESCNPJ for the service taker CNPJ.
CREATE TABLE VRTNFCT (
    NCONHEC INTEGER NOT NULL,
    FILIAL INTEGER NOT NULL,
    DTEMIS DATE,
    STATUS CHAR(1),
    VALTOTAL NUMERIC(15,2),
    BASECALC NUMERIC(15,2),
    VALICM NUMERIC(15,2),
    TFRETE CHAR(1),
    DESCNPJ VARCHAR(20),
    DESIE VARCHAR(20),
    DESESTADO CHAR(2),
    DESNOME VARCHAR(50),
    NATOPER INTEGER,
    PRIMARY KEY (NCONHEC, FILIAL)
);
CREATE INDEX IX_FCT_DTEMIS ON VRTNFCT (DTEMIS);

-- NFC: invoices carried by a bill of lading (SINTEGRA record 71). CONTIPO FCA or
-- FCT and CONNUMERO plus FILIAL point at the bill of lading. DES columns the
-- receiver, EMI columns the sender of the invoice, NOT columns the carried
-- invoice (issue date, number, value, model, series).
CREATE TABLE VRTNNFC (
    CONTIPO CHAR(3),
    CONNUMERO INTEGER,
    FILIAL INTEGER,
    DESCGC VARCHAR(20),
    DESINSCEST VARCHAR(20),
    DESESTADO CHAR(2),
    EMICGC VARCHAR(20),
    EMIINSCEST VARCHAR(20),
    EMIESTADO CHAR(2),
    NOTDTEMIS DATE,
    NOTNUMERO INTEGER,
    NOTVALOR NUMERIC(15,2),
    NOTMODELO VARCHAR(2),
    NOTSERIE VARCHAR(3)
);
CREATE INDEX IX_NFC_CONHEC ON VRTNNFC (CONNUMERO, FILIAL);

-- CEA: carriers agencies that issue air waybills. CODCEA code, CGC, IE state
-- registration, ESTADO, NOME, ATE A for an air agency (model 10), other for road.
CREATE TABLE VRTNCEA (
    CODCEA VARCHAR(10) NOT NULL,
    CGC VARCHAR(20),
    IE VARCHAR(20),
    ESTADO CHAR(2),
    NOME VARCHAR(50),
    ATE CHAR(1),
    PRIMARY KEY (CODCEA)
);

-- AWB: air waybills received through an agency. NUMERO waybill number as text,
-- NAWB replacement number (used when filled), DTMOV movement date, CODCEA agency,
-- VALOR and ICM amounts, SINTEGRA S when the waybill goes to record 70, FILIAL
-- branch (the company code).
CREATE TABLE VRTNAWB (
    NUMERO VARCHAR(20) NOT NULL,
    CODCEA VARCHAR(10) NOT NULL,
    FILIAL INTEGER NOT NULL,
    DTMOV DATE,
    VALOR NUMERIC(15,2),
    ICM NUMERIC(15,2),
    NAWB VARCHAR(20),
    SINTEGRA CHAR(1),
    PRIMARY KEY (FILIAL, CODCEA, NUMERO)
);
CREATE INDEX IX_AWB_DTMOV ON VRTNAWB (DTMOV);

-- CBP: plan of accounts. CONTA account code, EDCONTA the code edited with its
-- dots, RESUMIDA reduced numeric code, SEQ_CBP sequence, NOME, CONTAF, CCUSTO
-- cost centre, ADIC additional text, NATUREZA, SA A analytic or S synthetic,
-- CBSIGLA partner code the account belongs to.
CREATE TABLE VRTNCBP (
    CONTA VARCHAR(20) NOT NULL,
    EDCONTA VARCHAR(30),
    RESUMIDA INTEGER,
    SEQ_CBP INTEGER,
    NOME VARCHAR(60),
    CONTAF VARCHAR(20),
    CCUSTO VARCHAR(10),
    ADIC VARCHAR(20),
    NATUREZA CHAR(1),
    SA CHAR(1),
    CBSIGLA VARCHAR(20),
    PRIMARY KEY (CONTA)
);
CREATE INDEX IX_CBP_EDCONTA ON VRTNCBP (EDCONTA);
CREATE INDEX IX_CBP_CBSIGLA ON VRTNCBP (CBSIGLA);

-- CBH: standard accounting histories, NUMERO and its text HISTORICO.
CREATE TABLE VRTNCBH (
    NUMERO INTEGER NOT NULL,
    HISTORICO VARCHAR(60),
    PRIMARY KEY (NUMERO)
);

-- CUS: cost centres offered by the accounts-per-customer register. The code
-- +++++ is a placeholder row that the register leaves out.
CREATE TABLE VRTNCUS (
    CCUSTO VARCHAR(10) NOT NULL,
    PRIMARY KEY (CCUSTO)
);

-- CPC: accounts per customer (or cost centre) SIGLA and operation NATOPER (a CFOP
-- or a financial operation code such as 210), keyed by SEQ and FILIAL. Debit and
-- credit accounts and standard histories used when movements are posted to
-- accounting, history texts with bracketed markers, additional fields, NETLOG
-- (A after every save) and the accounts of receivables and payables (gross value,
-- net value, interest, discounts, bank charges, history texts).
CREATE TABLE VRTNCPC (
    SEQ INTEGER NOT NULL,
    FILIAL INTEGER NOT NULL,
    SIGLA VARCHAR(20),
    NATOPER VARCHAR(4),
    CONTADEB VARCHAR(20),
    CONTACRED VARCHAR(20),
    HPDEB VARCHAR(4),
    HPCRED VARCHAR(4),
    DEBHISTOR VARCHAR(40),
    CREDHISTOR VARCHAR(40),
    ADICDEB VARCHAR(20),
    ADICRED VARCHAR(20),
    NETLOG CHAR(1),
    DUPVALDEB VARCHAR(20),
    DUPVALCRE VARCHAR(20),
    DUPLIQDEB VARCHAR(20),
    DUPLIQCRE VARCHAR(20),
    DUPJURDEB VARCHAR(20),
    DUPJURCRE VARCHAR(20),
    DUPDESDEB VARCHAR(20),
    DUPDESCRE VARCHAR(20),
    DUPDEPDEB VARCHAR(20),
    DUPDEPCRE VARCHAR(20),
    DUPHISDEB VARCHAR(40),
    DUPHISCRE VARCHAR(40),
    PRIMARY KEY (SEQ, FILIAL)
);
CREATE INDEX IX_CPC_SIGLA_NATOPER ON VRTNCPC (SIGLA, NATOPER);

-- EPP: small-company (EPP) brackets, one row per year ANO (four digits) and month
-- MES (two digits, 00 allowed), FILIAL 0. Up to 30 brackets, each a lower amount
-- DEn, an upper amount ATEn and a discount rate DESCn.
CREATE TABLE VRTNEPP (
    ANO CHAR(4) NOT NULL,
    MES CHAR(2) NOT NULL,
    FILIAL INTEGER,
    DE1 NUMERIC(15,2),
    DE2 NUMERIC(15,2),
    DE3 NUMERIC(15,2),
    DE4 NUMERIC(15,2),
    DE5 NUMERIC(15,2),
    DE6 NUMERIC(15,2),
    DE7 NUMERIC(15,2),
    DE8 NUMERIC(15,2),
    DE9 NUMERIC(15,2),
    DE10 NUMERIC(15,2),
    DE11 NUMERIC(15,2),
    DE12 NUMERIC(15,2),
    DE13 NUMERIC(15,2),
    DE14 NUMERIC(15,2),
    DE15 NUMERIC(15,2),
    DE16 NUMERIC(15,2),
    DE17 NUMERIC(15,2),
    DE18 NUMERIC(15,2),
    DE19 NUMERIC(15,2),
    DE20 NUMERIC(15,2),
    DE21 NUMERIC(15,2),
    DE22 NUMERIC(15,2),
    DE23 NUMERIC(15,2),
    DE24 NUMERIC(15,2),
    DE25 NUMERIC(15,2),
    DE26 NUMERIC(15,2),
    DE27 NUMERIC(15,2),
    DE28 NUMERIC(15,2),
    DE29 NUMERIC(15,2),
    DE30 NUMERIC(15,2),
    ATE1 NUMERIC(15,2),
    ATE2 NUMERIC(15,2),
    ATE3 NUMERIC(15,2),
    ATE4 NUMERIC(15,2),
    ATE5 NUMERIC(15,2),
    ATE6 NUMERIC(15,2),
    ATE7 NUMERIC(15,2),
    ATE8 NUMERIC(15,2),
    ATE9 NUMERIC(15,2),
    ATE10 NUMERIC(15,2),
    ATE11 NUMERIC(15,2),
    ATE12 NUMERIC(15,2),
    ATE13 NUMERIC(15,2),
    ATE14 NUMERIC(15,2),
    ATE15 NUMERIC(15,2),
    ATE16 NUMERIC(15,2),
    ATE17 NUMERIC(15,2),
    ATE18 NUMERIC(15,2),
    ATE19 NUMERIC(15,2),
    ATE20 NUMERIC(15,2),
    ATE21 NUMERIC(15,2),
    ATE22 NUMERIC(15,2),
    ATE23 NUMERIC(15,2),
    ATE24 NUMERIC(15,2),
    ATE25 NUMERIC(15,2),
    ATE26 NUMERIC(15,2),
    ATE27 NUMERIC(15,2),
    ATE28 NUMERIC(15,2),
    ATE29 NUMERIC(15,2),
    ATE30 NUMERIC(15,2),
    DESC1 NUMERIC(5,2),
    DESC2 NUMERIC(5,2),
    DESC3 NUMERIC(5,2),
    DESC4 NUMERIC(5,2),
    DESC5 NUMERIC(5,2),
    DESC6 NUMERIC(5,2),
    DESC7 NUMERIC(5,2),
    DESC8 NUMERIC(5,2),
    DESC9 NUMERIC(5,2),
    DESC10 NUMERIC(5,2),
    DESC11 NUMERIC(5,2),
    DESC12 NUMERIC(5,2),
    DESC13 NUMERIC(5,2),
    DESC14 NUMERIC(5,2),
    DESC15 NUMERIC(5,2),
    DESC16 NUMERIC(5,2),
    DESC17 NUMERIC(5,2),
    DESC18 NUMERIC(5,2),
    DESC19 NUMERIC(5,2),
    DESC20 NUMERIC(5,2),
    DESC21 NUMERIC(5,2),
    DESC22 NUMERIC(5,2),
    DESC23 NUMERIC(5,2),
    DESC24 NUMERIC(5,2),
    DESC25 NUMERIC(5,2),
    DESC26 NUMERIC(5,2),
    DESC27 NUMERIC(5,2),
    DESC28 NUMERIC(5,2),
    DESC29 NUMERIC(5,2),
    DESC30 NUMERIC(5,2),
    PRIMARY KEY (ANO, MES)
);

-- MOE: currency quotations, one row per currency MOEDA and day DATA. COMPRA and
-- VENDA buying and selling rate, TIPO C when set by the currency of the day
-- command, USUARIO who set it, DTALT date of the change.
CREATE TABLE VRTNMOE (
    MOEDA VARCHAR(20) NOT NULL,
    DATA DATE NOT NULL,
    COMPRA NUMERIC(15,4),
    VENDA NUMERIC(15,4),
    TIPO CHAR(1),
    USUARIO VARCHAR(20),
    DTALT DATE,
    PRIMARY KEY (MOEDA, DATA)
);

-- DUP: duplicates (receivables and payables) of the ERP. This program only opens
-- it in the table maintenance window, searching by NUMERO.
CREATE TABLE VRTNDUP (
    NUMERO VARCHAR(15) NOT NULL,
    FILIAL INTEGER NOT NULL,
    PRIMARY KEY (NUMERO, FILIAL)
);

-- SEN: users of the suite, written by the suite log-in. This program never reads
-- the table, it only keeps it out of reach in the table maintenance window. The
-- rights lines of a user live in the parameter store key SEN__ plus the user name,
-- in the database that holds this table.
CREATE TABLE VRTNSEN (
    USUARIO VARCHAR(20) NOT NULL,
    NOMEC VARCHAR(40),
    NIVEL CHAR(1),
    NUMERO CHAR(2),
    DEPART VARCHAR(4),
    SENHA VARCHAR(29),
    GERAL VARCHAR(250),
    GERAL1 VARCHAR(250),
    PRIMARY KEY (USUARIO)
);

-- AGD: agenda of the suite users. Not read by this program, which only keeps it
-- out of reach in the table maintenance window.
CREATE TABLE VRTNAGD (
    SEQ INTEGER NOT NULL,
    USUARIO VARCHAR(20),
    DATA DATE,
    HORA CHAR(5),
    TEXTO BLOB SUB_TYPE TEXT,
    PRIMARY KEY (SEQ)
);
