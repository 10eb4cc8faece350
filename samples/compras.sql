-- A small purchasing database for the Informix driver: entities that buy,
-- their purchase processes with lots and items, suppliers and their price
-- proposals. The build runs this script into a new stand-in database
-- (build/samples/compras.db) with quovex-sql; every column type the driver
-- reads appears at least once.

-- The buying entities ("Entidade" of a "Município").
CREATE TABLE entidade (
    cod_entidade   SMALLINT NOT NULL,
    des_entidade   VARCHAR(80) NOT NULL,
    des_municipio  NCHAR(40),
    nro_cnpj       CHAR(14) NOT NULL,
    PRIMARY KEY (cod_entidade)
);

-- Suppliers, with a logo kept as bytes.
CREATE TABLE fornecedor (
    cod_fornecedor  SERIAL NOT NULL,
    nro_documento   CHAR(14) NOT NULL,
    des_fornecedor  NVARCHAR(60) NOT NULL,
    dat_cadastro    DATE,
    img_logotipo    BYTE
);

-- Purchase processes: bidding ('PL') or price quotation ('CP').
CREATE TABLE processo (
    nro_processo    INTEGER NOT NULL,
    ano_processo    SMALLINT NOT NULL,
    cod_entidade    SMALLINT NOT NULL,
    idt_finalidade  CHAR(2) NOT NULL,
    des_objeto      TEXT,
    dat_abertura    DATETIME YEAR TO SECOND,
    prz_entrega     INTERVAL DAY(3) TO DAY,
    vlr_estimado    MONEY(12,2)
);

CREATE TABLE lote (
    nro_processo  INTEGER NOT NULL,
    ano_processo  SMALLINT NOT NULL,
    nro_lote      SMALLINT NOT NULL,
    des_lote      VARCHAR(100) NOT NULL
);

CREATE TABLE item (
    nro_processo    INTEGER NOT NULL,
    ano_processo    SMALLINT NOT NULL,
    nro_lote        SMALLINT NOT NULL,
    nro_item        SMALLINT NOT NULL,
    des_item        VARCHAR(200) NOT NULL,
    des_unidade     CHAR(5),
    qtd_item        FLOAT,
    pes_unitario    SMALLFLOAT,
    vlr_referencia  DECIMAL(16,4)
);

-- Proposals of suppliers per item; an attached document and a note may
-- come as large objects.
CREATE TABLE proposta (
    nro_processo    INTEGER NOT NULL,
    ano_processo    SMALLINT NOT NULL,
    nro_lote        SMALLINT NOT NULL,
    nro_item        SMALLINT NOT NULL,
    cod_fornecedor  INTEGER NOT NULL,
    des_marca       VARCHAR(40),
    qtd_proposta    DECIMAL(12,3),
    vlr_proposta    DECIMAL(16,2),
    dat_proposta    DATETIME YEAR TO SECOND,
    doc_anexo       BLOB,
    obs_proposta    CLOB
);

CREATE UNIQUE INDEX ix_item ON item (nro_processo, ano_processo, nro_lote, nro_item);
CREATE INDEX ix_proposta_fornecedor ON proposta (cod_fornecedor);
CREATE INDEX ix_proposta_valor ON proposta (vlr_proposta DESC);
CREATE UNIQUE INDEX ix_fornecedor_documento ON fornecedor (nro_documento);

CREATE VIEW v_item_lote (nro_processo, ano_processo, nro_lote, des_lote, nro_item, des_item, qtd_item) AS
    SELECT i.nro_processo, i.ano_processo, l.nro_lote, l.des_lote, i.nro_item, i.des_item, i.qtd_item
      FROM item i, lote l
     WHERE l.nro_processo = i.nro_processo AND l.ano_processo = i.ano_processo AND l.nro_lote = i.nro_lote;

CREATE VIEW v_total_fornecedor (cod_fornecedor, des_fornecedor, nro_processo, ano_processo, vlr_total) AS
    SELECT f.cod_fornecedor, f.des_fornecedor, p.nro_processo, p.ano_processo, SUM(p.qtd_proposta * p.vlr_proposta)
      FROM proposta p, fornecedor f
     WHERE f.cod_fornecedor = p.cod_fornecedor
     GROUP BY f.cod_fornecedor, f.des_fornecedor, p.nro_processo, p.ano_processo;

INSERT INTO entidade VALUES (1, 'Prefeitura Municipal de Vale Verde', 'Vale Verde', '12345678000195');
INSERT INTO entidade VALUES (2, 'Câmara Municipal de São João do Oeste', 'São João do Oeste', '98765432000198');

-- The logo: the first bytes of a PNG file.
INSERT INTO fornecedor (cod_fornecedor, nro_documento, des_fornecedor, dat_cadastro, img_logotipo)
    VALUES (1, '12123123000199', 'Papelaria Estrela Ltda', '2010-03-15', X'89504E470D0A1A0A');
INSERT INTO fornecedor (cod_fornecedor, nro_documento, des_fornecedor, dat_cadastro)
    VALUES (2, '45678912000110', 'Distribuidora Ação & Cia', '2011-11-02');
INSERT INTO fornecedor (cod_fornecedor, nro_documento, des_fornecedor, dat_cadastro)
    VALUES (3, '11122233344', 'José "Zeca" Pereira', NULL);

INSERT INTO processo VALUES (1, 2010, 1, 'PL', 'Aquisição de material escolar para a rede municipal de ensino.',
                             '2010-04-12 09:30:00', '30', 15230.50);
INSERT INTO processo VALUES (45, 2012, 2, 'CP', NULL, '2012-03-04 05:06:07', '5', NULL);

INSERT INTO lote VALUES (1, 2010, 1, 'Material de escritório');
INSERT INTO lote VALUES (1, 2010, 2, 'Papel');
INSERT INTO lote VALUES (45, 2012, 1, 'Gêneros alimentícios');

INSERT INTO item VALUES (1, 2010, 1, 1, 'Caneta esferográfica azul, ponta média', 'UN', 1500, 0.01, 0.8750);
INSERT INTO item VALUES (1, 2010, 1, 2, 'Lápis preto nº 2', 'UN', 3000, 0.005, 0.3500);
INSERT INTO item VALUES (1, 2010, 2, 1, 'Papel sulfite A4, 75 g/m², resma de 500 folhas', 'RESMA', 400.5, 2.5, 18.9900);
INSERT INTO item VALUES (45, 2012, 1, 1, 'Arroz tipo 1, pacote de 5 kg', 'PCT', 250, 5, 21.4000);
INSERT INTO item VALUES (45, 2012, 1, 2, 'Feijão carioca, pacote de 1 kg', 'PCT', NULL, NULL, NULL);

INSERT INTO proposta (nro_processo, ano_processo, nro_lote, nro_item, cod_fornecedor, des_marca, qtd_proposta,
                      vlr_proposta, dat_proposta)
    VALUES (1, 2010, 1, 1, 1, 'BIC', 1500, 0.79, '2010-04-10 16:45:00');
INSERT INTO proposta (nro_processo, ano_processo, nro_lote, nro_item, cod_fornecedor, des_marca, qtd_proposta,
                      vlr_proposta, dat_proposta)
    VALUES (1, 2010, 1, 2, 1, 'Faber-Castell', 3000, 0.31, '2010-04-10 16:45:00');
INSERT INTO proposta (nro_processo, ano_processo, nro_lote, nro_item, cod_fornecedor, des_marca, qtd_proposta,
                      vlr_proposta, dat_proposta)
    VALUES (1, 2010, 2, 1, 2, 'Chamex', 400.5, 17.85, '2010-04-11 08:00:00');
INSERT INTO proposta (nro_processo, ano_processo, nro_lote, nro_item, cod_fornecedor, des_marca, qtd_proposta,
                      vlr_proposta, dat_proposta)
    VALUES (45, 2012, 1, 1, 3, 'Tio João', 250, 20.90, '2012-03-02 10:15:30');

-- Stored routines of a stand-in database are rows of ifxrt_procedures: the
-- parameters and returned types in Informix types, the body one statement
-- that names the parameters as :name.
CREATE TABLE ifxrt_procedures (
    name        VARCHAR(128) NOT NULL PRIMARY KEY,
    parameters  VARCHAR(255) NOT NULL,
    returns     VARCHAR(255) NOT NULL,
    body        VARCHAR(255) NOT NULL
);

-- A procedure: raises every reference price by a percentage.
INSERT INTO ifxrt_procedures VALUES ('reajusta_referencia', 'p_percentual DECIMAL(5,2)', '',
    'UPDATE item SET vlr_referencia = ROUND(vlr_referencia * (1 + :p_percentual / 100.0), 4)');

-- A function: the proposals of a process above a value, highest first.
INSERT INTO ifxrt_procedures VALUES ('propostas_acima', 'p_processo INTEGER, p_valor DECIMAL(16,2)',
    'INTEGER, VARCHAR(40), DECIMAL(16,2)',
    'SELECT cod_fornecedor, des_marca, vlr_proposta FROM proposta WHERE nro_processo = :p_processo AND vlr_proposta > :p_valor ORDER BY vlr_proposta DESC');
