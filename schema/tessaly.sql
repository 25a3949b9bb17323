/* Tessaly: the database the conversion reads from (SQL dialect 3).
   The tables the conversion reads, with the types and widths of the installed system and some
   columns the conversion has no use for. */

CREATE TABLE CLFISCAL (
    CODIGO            VARCHAR(3) NOT NULL,
    SIT_TRIBUTARIA    VARCHAR(3),
    DESCRICAO         VARCHAR(60),
    CONSTRAINT PK_CLFISCAL PRIMARY KEY (CODIGO)
);

CREATE TABLE ESTOQUE (
    CODIGO               VARCHAR(8) NOT NULL,
    BARRAS               VARCHAR(20),
    NOME                 VARCHAR(80),
    CARACTERISTICA       VARCHAR(100),
    COD_TRIB             VARCHAR(3),
    UND_COMPRA           VARCHAR(10),
    UND_VENDA            VARCHAR(10),
    NCM                  VARCHAR(10),
    ICMS                 NUMERIC(9,2),
    CSOSN                VARCHAR(3),
    PRECO_CONSUMIDOR     NUMERIC(15,4),
    PIS_ALIQ             NUMERIC(9,2),
    PIS_ST               VARCHAR(2),
    COFINS_ALIQ          NUMERIC(9,2),
    COFINS_ST            VARCHAR(2),
    PIS_ST_ENTRADA       VARCHAR(2),
    COFINS_ST_ENTRADA    VARCHAR(2),
    PIS_ALIQ_ENTRADA     NUMERIC(9,2),
    COFINS_ALIQ_ENTRADA  NUMERIC(9,2),
    QTD_ESTOQUE          NUMERIC(15,4) DEFAULT 0,
    DATA_CADASTRO        DATE DEFAULT CURRENT_DATE,
    CONSTRAINT PK_ESTOQUE PRIMARY KEY (CODIGO)
);

CREATE TABLE CLIENTE (
    CODIGO               INTEGER NOT NULL,
    NOME                 VARCHAR(60),
    NOME_FANTASIA        VARCHAR(50),
    ENDERECO             VARCHAR(50),
    NUMERO               VARCHAR(10),
    CIDADE               VARCHAR(40),
    UF                   VARCHAR(2),
    BAIRRO               VARCHAR(30),
    CEP                  VARCHAR(10),
    CNPJ                 VARCHAR(18),
    CPF                  VARCHAR(14),
    IE                   VARCHAR(20),
    FISICA_JURIDICA      CHAR(1),
    CONTATO              VARCHAR(40),
    TELEFONE             VARCHAR(20),
    CELULAR              VARCHAR(20),
    FAX                  VARCHAR(20),
    EMAIL                VARCHAR(60),
    ENDERECO_ENTREGA     VARCHAR(50),
    NUMERO_ENTREGA       VARCHAR(10),
    DATA_NASC            DATE,
    CIDADE_ENTREGA       VARCHAR(40),
    UF_ENTREGA           VARCHAR(2),
    BAIRRO_ENTREGA       VARCHAR(30),
    ENDERECO_COBRANCA    VARCHAR(50),
    NUMERO_COBRANCA      VARCHAR(10),
    CEP_COBRANCA         VARCHAR(10),
    CIDADE_COBRANCA      VARCHAR(40),
    UF_COBRANCA          VARCHAR(2),
    BAIRRO_COBRANCA      VARCHAR(30),
    LIMITE               NUMERIC(15,2) DEFAULT 0,
    CONSTRAINT PK_CLIENTE PRIMARY KEY (CODIGO)
);

CREATE TABLE FORNECEDOR (
    CODIGO               INTEGER NOT NULL,
    NOME                 VARCHAR(60),
    NOME_FANTASIA        VARCHAR(50),
    ENDERECO             VARCHAR(50),
    NUMERO               VARCHAR(10),
    CIDADE               VARCHAR(40),
    UF                   VARCHAR(2),
    BAIRRO               VARCHAR(30),
    CEP                  VARCHAR(10),
    CNPJ                 VARCHAR(18),
    CPF                  VARCHAR(14),
    IE                   VARCHAR(20),
    COMPLEMENTO          VARCHAR(60),
    CONTATO              VARCHAR(40),
    TELEFONE             VARCHAR(20),
    CELULAR              VARCHAR(20),
    FAX                  VARCHAR(20),
    EMAIL                VARCHAR(60),
    CONSTRAINT PK_FORNECEDOR PRIMARY KEY (CODIGO)
);
