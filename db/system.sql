-- Tables owned by LIVRAX itself (the parameter store, the table catalogue, the
-- audit log and the help texts). They are named literally, without a company code.

-- PAR: parameter store. One row per key CHAVE (settings of a window, the company
-- record VRTNCAE, user preferences, report definitions). TEXTO holds all lines of
-- the key, each written as a three-digit line number, a closing parenthesis, the
-- text and CR LF, empty lines left out. CAMPO is an optional title of the key
-- (the report title for report definitions, the company name for VRTNCAE).
CREATE TABLE VRTNPAR (
    CHAVE VARCHAR(100) NOT NULL,
    TEXTO BLOB SUB_TYPE TEXT,
    CAMPO VARCHAR(100),
    PRIMARY KEY (CHAVE)
);

-- ARQ: table catalogue, one row per logical table. ANOME three-letter code,
-- AARQUIVO physical table name, ASEQ a sequence text, ADESCRICAO description in
-- upper case.
CREATE TABLE VRTNARQ (
    ANOME VARCHAR(3) NOT NULL,
    AARQUIVO VARCHAR(31),
    ASEQ VARCHAR(10),
    ADESCRICAO VARCHAR(40),
    PRIMARY KEY (ANOME)
);

-- LOG: audit log of deletions, free SQL runs, table maintenance and log-offs.
-- LOG_SEQ comes from the generator VRTNLOG_SEQ, so stations writing at the
-- same time get distinct numbers. In a database made without the generator
-- it is one more than the highest present, which two stations may compute
-- alike: it stays indexed but not unique.
-- LOG_DATA date, LOG_HORA time as hh:mm:ss, LOG_TABELA table name or label such
-- as LOGOFF, LOG_OBS what was done, LOG_BASE file name of the company database.
CREATE TABLE VRTNLOG (
    LOG_SEQ INTEGER,
    LOG_USUARIO VARCHAR(20),
    LOG_DATA DATE,
    LOG_HORA CHAR(8),
    LOG_TABELA VARCHAR(10),
    LOG_OBS VARCHAR(200),
    LOG_BASE VARCHAR(30)
);
CREATE INDEX IX_LOG_SEQ ON VRTNLOG (LOG_SEQ);
CREATE INDEX IX_LOG_DATA ON VRTNLOG (LOG_DATA);
CREATE SEQUENCE VRTNLOG_SEQ;

-- HLD: help topics. SEQ topic number (highest plus one for a new topic), TITULO
-- title, TEXTO the topic as rich text (RTF).
CREATE TABLE VRTNHLD (
    SEQ INTEGER NOT NULL,
    TITULO VARCHAR(100),
    TEXTO BLOB SUB_TYPE TEXT,
    PRIMARY KEY (SEQ)
);
CREATE INDEX IX_HLD_TITULO ON VRTNHLD (TITULO);

-- HLP: help search keys. SEQ key number, SEQHLD the topic (VRTNHLD.SEQ) the key
-- points at, CHAVE the key word or phrase (a window code such as PESQC).
CREATE TABLE VRTNHLP (
    SEQ INTEGER NOT NULL,
    SEQHLD INTEGER,
    CHAVE VARCHAR(100),
    PRIMARY KEY (SEQ)
);
CREATE INDEX IX_HLP_SEQHLD ON VRTNHLP (SEQHLD);
CREATE INDEX IX_HLP_CHAVE ON VRTNHLP (CHAVE);
