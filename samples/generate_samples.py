#!/usr/bin/env python3
"""Writes the JSON sources of the sample process files (PL_*.json, CP_*.json).

The output is deterministic: running the script again rewrites the same bytes.
The JSON files are committed; the build turns them into .ZUL table files with
zultool. Run from anywhere:  python3 samples/generate_samples.py
"""

import json
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def cnpj(base12):
    """The 14-digit CNPJ for a 12-digit base, with its two check digits."""
    digits = [int(c) for c in base12]
    for weights in ([5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2],
                    [6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2]):
        rest = sum(d * w for d, w in zip(digits, weights)) % 11
        digits.append(0 if rest < 2 else 11 - rest)
    return "".join(str(d) for d in digits)


# Field definitions shared by both purposes, in file order.
HEADER_FIELDS = [
    ("DES_TIPOENTIDADE", "text", 100),
    ("DES_MUNICIPIO", "text", 100),
    ("NRO_CGC", "text", 30),
    ("ANO_EXERCICIO", "int16", None),
]
PL_FIELDS = [
    ("NRO_PROCESSO", "int32", None),
    ("DAT_PROCESSO", "datetime", None),
    ("DES_MODALIDADE", "text", 100),
    ("SEQ_MODALIDADELICITACAO", "int32", None),
    ("DAT_ENTREGA", "datetime", None),
    ("DAT_ABERTURADOC", "datetime", None),
    ("DAT_ABERTURAPROP", "datetime", None),
]
CP_FIELDS = [
    ("NRO_COTACAO", "int32", None),
    ("DAT_COTACAO", "datetime", None),
]
ITEM_FIELDS = [
    ("DES_TIPOAPURACAO", "text", 100),
    ("IDT_TIPOAPURACAO", "text", 2),
    ("DES_OBJETO", "longtext", None),
    ("NRO_FORNECEDOR", "text", 14),
    ("DES_NOME", "text", 100),
    ("NRO_LOTE", "int16", None),
    ("DES_LOTE", "text", 100),
    ("NRO_ITEM", "int32", None),
    ("COD_PRODUTO", "int32", None),
    ("DES_PRODUTO", "text", 100),
    ("COD_UNIDADEMEDIDA", "int16", None),
    ("DES_UNIDADEMEDIDA", "text", 100),
    ("DES_ESPECIFICACAO", "longtext", None),
    ("QTD_PRODUTO", "float", None),
    ("QTD_PROPOSTA", "float", None),
    ("VLR_PROPOSTA", "float", None),
    ("VLR_TOTALPROPOSTA", "float", None),
    ("DES_MARCA", "text", 100),
]

# Units of measure: code -> description as the back office prints it.
UNITS = {
    "UN": (1, "UNIDADE"), "CX": (2, "CAIXA"), "PCT": (3, "PACOTE"),
    "KG": (4, "KG"), "L": (5, "LITRO"), "M": (6, "METRO"),
    "M3": (7, "M³"), "FR": (8, "FRASCO"), "CP": (9, "COMPRIMIDO"),
    "AMP": (10, "AMPOLA"), "SC": (11, "SACO 50 KG"), "RL": (12, "ROLO"),
    "T": (14, "TONELADA"), "RS": (15, "RESMA"), "GL": (16, "GALÃO"),
    "TB": (17, "TUBO"), "BIS": (18, "BISNAGA"), "DZ": (19, "DÚZIA"),
}


def field_defs(fields):
    out = []
    for name, kind, size in fields:
        d = {"name": name, "kind": kind}
        if size is not None:
            d["size"] = size
        out.append(d)
    return out


def build(header, fields, lots):
    """One record per item; header repeated, program-written fields empty."""
    names = [f[0] for f in fields]
    records = []
    for lot_number, lot_description, items in lots:
        for item in items:
            number, code, product, unit, quantity, spec = item
            unit_code, unit_text = UNITS[unit]
            values = dict(header)
            values.update({
                "NRO_FORNECEDOR": "",
                "DES_NOME": "",
                "NRO_LOTE": lot_number,
                "DES_LOTE": lot_description,
                "NRO_ITEM": number,
                "COD_PRODUTO": code,
                "DES_PRODUTO": product,
                "COD_UNIDADEMEDIDA": unit_code,
                "DES_UNIDADEMEDIDA": unit_text,
                "DES_ESPECIFICACAO": "\n".join(spec),
                "QTD_PRODUTO": float(quantity),
                "QTD_PROPOSTA": 0.0,
                "VLR_PROPOSTA": 0.0,
                "VLR_TOTALPROPOSTA": 0.0,
                "DES_MARCA": "",
            })
            records.append({n: values[n] for n in names})
    return {"fields": field_defs(fields), "records": records}


def numbered(start, rows):
    """Gives consecutive item numbers to (code, product, unit, qty, spec) rows."""
    return [(start + i,) + row for i, row in enumerate(rows)]


# --- PL_000001_2010: school supplies, judged per item -------------------------

SCHOOL_SUPPLIES = [
    (1021, "CADERNO BROCHURA 1/4 96 FOLHAS", "UN", 4800, [
        "Caderno brochura, formato 1/4 (140 x 200 mm), 96 folhas pautadas.",
        "Capa dura em papelão revestido, miolo em papel offset 56 g/m².",
        "Costurado, com margem; capas com motivos infantis variados."]),
    (1022, "CADERNO UNIVERSITÁRIO 10 MATÉRIAS 200 FOLHAS", "UN", 2600, [
        "Caderno universitário espiral, 10 matérias, 200 folhas pautadas.",
        "Capa dura, divisórias coloridas, papel offset 56 g/m².",
        "Espiral em arame revestido; formato 200 x 275 mm."]),
    (1030, "LÁPIS PRETO Nº 2", "CX", 450, [
        "Lápis grafite preto nº 2 (HB), corpo sextavado em madeira reflorestada.",
        "Grafite resistente, apontado, sem borracha na extremidade.",
        "Caixa com 144 unidades; selo do INMETRO."]),
    (1031, "BORRACHA BRANCA MACIA Nº 40", "CX", 120, [
        "Borracha escolar branca, macia, nº 40, para grafite.",
        "Atóxica, não mancha o papel; dimensões mínimas 33 x 23 x 8 mm.",
        "Caixa com 40 unidades."]),
    (1032, "APONTADOR COM DEPÓSITO", "UN", 3500, [
        "Apontador plástico com depósito, lâmina em aço inoxidável.",
        "Para lápis de diâmetro padrão; cores variadas.",
        "Selo do INMETRO."]),
    (1040, "LÁPIS DE COR 12 CORES", "CX", 2400, [
        "Lápis de cor sextavado, caixa com 12 cores, tamanho grande.",
        "Madeira reflorestada, mina de 3 mm resistente a quedas.",
        "Atóxico; selo do INMETRO na embalagem."]),
    (1041, "GIZ DE CERA GROSSO 12 CORES", "CX", 1800, [
        "Giz de cera grosso, formato cilíndrico, caixa com 12 cores.",
        "Atóxico, não esfarela; diâmetro mínimo 10 mm."]),
    (1042, "CANETA ESFEROGRÁFICA AZUL", "CX", 300, [
        "Caneta esferográfica azul, ponta média 1,0 mm, corpo sextavado transparente.",
        "Tampa ventilada e tampa traseira; escrita mínima de 1.500 metros.",
        "Caixa com 50 unidades."]),
    (1043, "CANETA ESFEROGRÁFICA VERMELHA", "CX", 80, [
        "Caneta esferográfica vermelha, ponta média 1,0 mm, corpo transparente.",
        "Caixa com 50 unidades."]),
    (1050, "RÉGUA PLÁSTICA 30 CM", "UN", 2500, [
        "Régua em poliestireno cristal, 30 cm, graduação em milímetros.",
        "Espessura mínima de 3 mm, bordas sem rebarbas."]),
    (1051, "TESOURA ESCOLAR SEM PONTA", "UN", 1900, [
        "Tesoura escolar sem ponta, lâminas em aço inoxidável de 13 cm.",
        "Cabo anatômico em polipropileno; uso infantil."]),
    (1052, "COLA BRANCA LÍQUIDA 90 G", "UN", 3200, [
        "Cola branca líquida lavável, frasco de 90 g com bico aplicador.",
        "Atóxica, para papel, cartolina e madeira; selo do INMETRO."]),
    (1053, "COLA BASTÃO 10 G", "UN", 2800, [
        "Cola em bastão 10 g, atóxica, lavável, secagem rápida.",
        "Tubo com tampa e base giratória."]),
    (1060, "PAPEL SULFITE A4 BRANCO", "RS", 1400, [
        "Papel sulfite alcalino A4 (210 x 297 mm), 75 g/m², branco.",
        "Resma com 500 folhas, embalagem plástica resistente à umidade.",
        "Certificação de origem florestal."]),
    (1061, "PAPEL CARTOLINA BRANCA", "UN", 1500, [
        "Cartolina branca 50 x 66 cm, gramatura mínima 150 g/m²."]),
    (1062, "PAPEL CREPOM CORES VARIADAS", "UN", 900, [
        "Papel crepom 48 cm x 2 m, cores variadas conforme solicitação da escola."]),
    (1063, "PAPEL COLOR SET", "UN", 1200, [
        "Papel color set 48 x 66 cm, 110 g/m², cores variadas."]),
    (1064, "PAPEL E.V.A. 40 X 60 CM", "UN", 1600, [
        "Folha de E.V.A. 40 x 60 cm, espessura 2 mm, cores variadas.",
        "Sem odor, atóxica."]),
    (1070, "MASSA DE MODELAR 12 CORES", "CX", 1300, [
        "Massa de modelar à base de amido, caixa com 12 cores, 180 g.",
        "Atóxica, não gruda nas mãos; selo do INMETRO."]),
    (1071, "TINTA GUACHE 6 CORES", "CX", 900, [
        "Tinta guache escolar, estojo com 6 potes de 15 ml.",
        "Atóxica, lavável, cores miscíveis entre si."]),
    (1072, "PINCEL ESCOLAR Nº 12", "UN", 1100, [
        "Pincel chato nº 12, cerdas sintéticas, cabo em madeira envernizada."]),
    (1080, "MOCHILA ESCOLAR", "UN", 1700, [
        "Mochila escolar em poliéster 600, com duas alças reguláveis acolchoadas.",
        "Um compartimento principal e bolso frontal com zíper.",
        "Dimensões aproximadas 42 x 30 x 14 cm; brasão do município bordado."]),
    (1081, "ESTOJO ESCOLAR COM ZÍPER", "UN", 1700, [
        "Estojo escolar em nylon, um zíper, 21 x 8 cm, cores variadas."]),
    (1090, "PASTA CATÁLOGO 50 PLÁSTICOS", "UN", 400, [
        "Pasta catálogo ofício, capa em polipropileno, 50 envelopes plásticos.",
        "Visor frontal para identificação."]),
    (1091, "PASTA COM ELÁSTICO OFÍCIO", "UN", 2200, [
        "Pasta em polipropileno, tamanho ofício, aba e fechamento com elástico.",
        "Lombada de 20 mm, cores variadas."]),
    (1092, "GRAMPEADOR DE MESA 26/6", "UN", 150, [
        "Grampeador de mesa metálico para grampos 26/6, capacidade de 25 folhas.",
        "Base emborrachada antiderrapante."]),
    (1093, "GRAMPO 26/6 GALVANIZADO", "CX", 200, [
        "Grampo 26/6 galvanizado, caixa com 5.000 unidades."]),
    (1094, "FITA ADESIVA TRANSPARENTE 12 MM X 40 M", "RL", 1000, [
        "Fita adesiva em polipropileno transparente, 12 mm x 40 m."]),
    (1095, "FITA CREPE 19 MM X 50 M", "RL", 600, [
        "Fita crepe 19 mm x 50 m, adesivo à base de borracha."]),
    (1096, "PINCEL ATÔMICO AZUL", "UN", 500, [
        "Marcador permanente tipo pincel atômico, ponta chanfrada, tinta azul.",
        "Recarregável."]),
]

PL_2010_HEADER = {
    "DES_TIPOENTIDADE": "PREFEITURA MUNICIPAL DE SÃO JOÃO DAS ARAUCÁRIAS",
    "DES_MUNICIPIO": "SÃO JOÃO DAS ARAUCÁRIAS - PR",
    "NRO_CGC": cnpj("761045280001"),
    "ANO_EXERCICIO": 2010,
    "NRO_PROCESSO": 1,
    "DAT_PROCESSO": "2010-02-08T00:00:00",
    "DES_MODALIDADE": "PREGÃO PRESENCIAL",
    "SEQ_MODALIDADELICITACAO": 3,
    "DAT_ENTREGA": "2010-02-24T08:30:00",
    "DAT_ABERTURADOC": "2010-02-24T09:00:00",
    "DAT_ABERTURAPROP": "2010-02-24T09:30:00",
    "DES_TIPOAPURACAO": "MENOR PREÇO POR ITEM",
    "IDT_TIPOAPURACAO": "1",
    "DES_OBJETO": (
        "Aquisição de material escolar para distribuição aos alunos da rede "
        "municipal de ensino (educação infantil e ensino fundamental) no ano "
        "letivo de 2010, conforme especificações e quantidades constantes do "
        "Anexo I do edital.\nEntrega parcelada no Almoxarifado Central da "
        "Secretaria Municipal de Educação, Rua Marechal Deodoro, 1.250, Centro."),
}

# --- PL_000014_2011: medicines, judged per lot, four lots ----------------------

MEDICINES_LOTS = [
    (1, "ANALGÉSICOS, ANTITÉRMICOS E ANTI-INFLAMATÓRIOS", [
        (20011, "PARACETAMOL 500 MG", "CP", 120000, [
            "Paracetamol 500 mg, comprimido.",
            "Embalagem hospitalar em blíster; registro na ANVISA.",
            "Validade mínima de 18 meses na data da entrega."]),
        (20012, "PARACETAMOL 200 MG/ML SOLUÇÃO ORAL", "FR", 3500, [
            "Paracetamol 200 mg/ml, solução oral gotas, frasco de 15 ml.",
            "Com conta-gotas; registro na ANVISA."]),
        (20013, "DIPIRONA SÓDICA 500 MG", "CP", 150000, [
            "Dipirona sódica 500 mg, comprimido.",
            "Embalagem hospitalar em blíster; validade mínima de 18 meses."]),
        (20014, "DIPIRONA SÓDICA 500 MG/ML INJETÁVEL", "AMP", 6000, [
            "Dipirona sódica 500 mg/ml, solução injetável, ampola de 2 ml."]),
        (20015, "IBUPROFENO 600 MG", "CP", 60000, [
            "Ibuprofeno 600 mg, comprimido revestido.",
            "Embalagem hospitalar; registro na ANVISA."]),
        (20016, "DICLOFENACO SÓDICO 50 MG", "CP", 80000, [
            "Diclofenaco sódico 50 mg, comprimido gastrorresistente."]),
    ]),
    (2, "ANTIBIÓTICOS", [
        (20101, "AMOXICILINA 500 MG", "CP", 90000, [
            "Amoxicilina 500 mg, cápsula.",
            "Embalagem hospitalar em blíster; validade mínima de 18 meses."]),
        (20102, "AMOXICILINA 250 MG/5 ML SUSPENSÃO", "FR", 4000, [
            "Amoxicilina 250 mg/5 ml, pó para suspensão oral, frasco de 150 ml.",
            "Com copo dosador."]),
        (20103, "CEFALEXINA 500 MG", "CP", 40000, [
            "Cefalexina 500 mg, cápsula; embalagem hospitalar."]),
        (20104, "AZITROMICINA 500 MG", "CP", 12000, [
            "Azitromicina 500 mg, comprimido revestido."]),
        (20105, "SULFAMETOXAZOL + TRIMETOPRIMA 400/80 MG", "CP", 30000, [
            "Sulfametoxazol 400 mg + trimetoprima 80 mg, comprimido."]),
    ]),
    (3, "MATERIAL DE CURATIVO", [
        (30201, "GAZE HIDRÓFILA 7,5 X 7,5 CM", "PCT", 8000, [
            "Compressa de gaze hidrófila 7,5 x 7,5 cm, 13 fios/cm², 8 dobras.",
            "Pacote com 10 unidades, estéril, embalagem grau cirúrgico."]),
        (30202, "ATADURA DE CREPOM 10 CM", "UN", 6000, [
            "Atadura de crepom 10 cm x 1,8 m em repouso, 13 fios/cm².",
            "Embalada individualmente."]),
        (30203, "ESPARADRAPO 10 CM X 4,5 M", "RL", 1200, [
            "Esparadrapo impermeável 10 cm x 4,5 m, em carretel plástico."]),
        (30204, "ÁLCOOL ETÍLICO 70%", "L", 2500, [
            "Álcool etílico hidratado 70% (p/p), frasco de 1 litro.",
            "Registro na ANVISA; rótulo com lote e validade."]),
    ]),
    (4, "SORO FISIOLÓGICO", [
        (30301, "CLORETO DE SÓDIO 0,9% 500 ML", "FR", 9000, [
            "Solução de cloreto de sódio 0,9%, sistema fechado, frasco de 500 ml.",
            "Com identificação de lote e validade em cada frasco.",
            "Validade mínima de 18 meses na data da entrega."]),
    ]),
]

PL_2011_HEADER = {
    "DES_TIPOENTIDADE": "PREFEITURA MUNICIPAL DE SANTA RITA DO ITAGUAÇU",
    "DES_MUNICIPIO": "SANTA RITA DO ITAGUAÇU - MG",
    "NRO_CGC": cnpj("183207640001"),
    "ANO_EXERCICIO": 2011,
    "NRO_PROCESSO": 14,
    "DAT_PROCESSO": "2011-05-16T00:00:00",
    "DES_MODALIDADE": "TOMADA DE PREÇOS",
    "SEQ_MODALIDADELICITACAO": 2,
    "DAT_ENTREGA": "2011-06-06T13:30:00",
    "DAT_ABERTURADOC": "2011-06-06T14:00:00",
    "DAT_ABERTURAPROP": None,
    "DES_TIPOAPURACAO": "MENOR PREÇO POR LOTE",
    "IDT_TIPOAPURACAO": "4",
    "DES_OBJETO": (
        "Aquisição de medicamentos e material de curativo para a Farmácia "
        "Básica Municipal e as Unidades Básicas de Saúde, para atendimento "
        "da população no segundo semestre de 2011.\nA data de abertura das "
        "propostas será fixada após a fase de habilitação."),
}

# --- CP_000045_2012: food for school meals, judged per lot ---------------------

SCHOOL_MEALS_LOTS = [
    (1, "HORTIFRUTIGRANJEIROS", [
        (5101, "BANANA PRATA", "KG", 3200, [
            "Banana prata de primeira qualidade, em pencas, grau médio de maturação.",
            "Sem danos mecânicos, livre de sujidades e parasitas.",
            "Entregas semanais nas escolas conforme cronograma da nutricionista."]),
        (5102, "MAÇÃ NACIONAL", "KG", 2400, [
            "Maçã nacional tipo Gala, categoria 1, calibre 110 a 120.",
            "Frutos firmes, sem manchas ou amassados."]),
        (5103, "BATATA INGLESA", "KG", 2800, [
            "Batata inglesa lisa, especial, tamanho médio, sem brotos."]),
        (5104, "CENOURA", "KG", 1600, [
            "Cenoura extra, sem rama, lisa, coloração uniforme."]),
        (5105, "TOMATE", "KG", 1800, [
            "Tomate longa vida, tamanho médio, grau médio de maturação."]),
        (5106, "OVOS DE GALINHA", "DZ", 2200, [
            "Ovos de galinha vermelhos, tipo grande, casca limpa e íntegra.",
            "Embalagem com carimbo do serviço de inspeção e data de classificação."]),
    ]),
    (2, "GÊNEROS ESTOCÁVEIS", [
        (5201, "ARROZ AGULHINHA TIPO 1", "PCT", 4200, [
            "Arroz beneficiado, polido, longo fino, tipo 1.",
            "Pacote de 5 kg; validade mínima de 6 meses na entrega."]),
        (5202, "FEIJÃO CARIOCA TIPO 1", "KG", 3000, [
            "Feijão carioca tipo 1, safra nova, pacote de 1 kg.",
            "Grãos inteiros, sem carunchos ou pedras."]),
        (5203, "MACARRÃO ESPAGUETE COM OVOS", "PCT", 2600, [
            "Macarrão com ovos tipo espaguete, pacote de 500 g."]),
        (5204, "ÓLEO DE SOJA REFINADO", "FR", 1500, [
            "Óleo de soja refinado, frasco PET de 900 ml."]),
        (5205, "LEITE EM PÓ INTEGRAL", "PCT", 2000, [
            "Leite em pó integral instantâneo, pacote aluminizado de 400 g.",
            "Registro no SIF; validade mínima de 10 meses."]),
        (5206, "ACHOCOLATADO EM PÓ", "PCT", 900, [
            "Achocolatado em pó instantâneo, pacote de 400 g."]),
        (5207, "BISCOITO SALGADO TIPO CREAM CRACKER", "PCT", 2400, [
            "Biscoito salgado tipo cream cracker, pacote de 400 g,",
            "embalagem dupla, validade mínima de 4 meses."]),
    ]),
    (3, "CARNES", [
        (5301, "CARNE BOVINA MOÍDA DE SEGUNDA", "KG", 2500, [
            "Carne bovina moída de segunda (acém ou paleta), congelada.",
            "Embalagem plástica de 1 kg com rótulo e carimbo do SIF ou SIM.",
            "Transporte em veículo refrigerado."]),
        (5302, "FRANGO INTEIRO CONGELADO", "KG", 3000, [
            "Frango inteiro congelado, sem miúdos, com registro no SIF."]),
        (5303, "FILÉ DE PEITO DE FRANGO", "KG", 1400, [
            "Filé de peito de frango sem osso e sem pele, congelado,",
            "embalagem de 1 kg, registro no SIF."]),
    ]),
]

CP_2012_LOT_HEADER = {
    "DES_TIPOENTIDADE": "PREFEITURA MUNICIPAL DE NOVA ESPERANÇA DO SUL",
    "DES_MUNICIPIO": "NOVA ESPERANÇA DO SUL - RS",
    "NRO_CGC": cnpj("926034170001"),
    "ANO_EXERCICIO": 2012,
    "NRO_COTACAO": 45,
    "DAT_COTACAO": "2012-03-12T00:00:00",
    "DES_TIPOAPURACAO": "MENOR PREÇO POR LOTE",
    "IDT_TIPOAPURACAO": "2",
    "DES_OBJETO": (
        "Cotação de preços para aquisição de gêneros alimentícios destinados "
        "à merenda escolar das escolas municipais e creches, no período de "
        "abril a junho de 2012.\nOs produtos perecíveis serão entregues "
        "semanalmente em cada unidade escolar."),
}

# --- CP_000052_2012: road works materials, judged per item ---------------------

ROAD_WORKS = [
    (7001, "CIMENTO PORTLAND CP II-32", "SC", 1200, [
        "Cimento Portland composto CP II-E-32 ou CP II-F-32, saco de 50 kg.",
        "Conforme NBR 16697; data de fabricação máxima de 30 dias."]),
    (7002, "AREIA MÉDIA LAVADA", "M3", 350, [
        "Areia média lavada, isenta de argila e matéria orgânica.",
        "Entrega no pátio da Secretaria de Obras, descarregada."]),
    (7003, "BRITA Nº 1", "M3", 420, [
        "Pedra britada nº 1 (9,5 a 19 mm) de rocha basáltica.",
        "Entrega a granel no pátio da Secretaria de Obras."]),
    (7004, "PEDRISCO", "M3", 180, [
        "Pedrisco (pó de pedra) para base e assentamento de blocos."]),
    (7005, "TUBO DE CONCRETO ARMADO 0,60 M", "UN", 140, [
        "Tubo de concreto armado PA-1, diâmetro interno 600 mm,",
        "comprimento útil 1,00 m, ponta e bolsa, conforme NBR 8890."]),
    (7006, "TUBO DE CONCRETO SIMPLES 0,40 M", "UN", 220, [
        "Tubo de concreto simples PS-1, diâmetro interno 400 mm,",
        "comprimento útil 1,00 m, encaixe macho e fêmea."]),
    (7007, "MEIO-FIO DE CONCRETO PRÉ-MOLDADO", "M", 2400, [
        "Meio-fio de concreto pré-moldado 100 x 30 x 15/12 cm,",
        "resistência mínima de 25 MPa, faces lisas e arestas vivas."]),
    (7008, "BLOCO INTERTRAVADO DE CONCRETO 8 CM", "M", 1800, [
        "Paver de concreto tipo holandês, 20 x 10 x 8 cm, cor natural,",
        "resistência à compressão mínima de 35 MPa (NBR 9781).",
        "Quantidade em metros quadrados de pavimento."]),
    (7009, "EMULSÃO ASFÁLTICA RR-2C", "T", 36, [
        "Emulsão asfáltica catiônica de ruptura rápida RR-2C, a granel,",
        "entregue em caminhão espargidor no local da obra."]),
    (7010, "CONCRETO BETUMINOSO USINADO A QUENTE", "T", 640.5, [
        "CBUQ faixa C do DNIT, retirado na usina pelo município",
        "ou entregue na obra em caminhão basculante enlonado."]),
    (7011, "TINTA PARA DEMARCAÇÃO VIÁRIA BRANCA", "GL", 90, [
        "Tinta acrílica à base de solvente para demarcação viária, cor branca,",
        "galão de 18 litros, conforme NBR 11862."]),
    (7012, "PLACA DE REGULAMENTAÇÃO R-1 (PARE)", "UN", 45, [
        "Placa octogonal R-1 em chapa de aço galvanizado nº 18, lado 0,25 m,",
        "película refletiva grau técnico, com suporte em tubo galvanizado."]),
]

CP_2012_ITEM_HEADER = {
    "DES_TIPOENTIDADE": "PREFEITURA MUNICIPAL DE NOVA ESPERANÇA DO SUL",
    "DES_MUNICIPIO": "NOVA ESPERANÇA DO SUL - RS",
    "NRO_CGC": cnpj("926034170001"),
    "ANO_EXERCICIO": 2012,
    "NRO_COTACAO": 52,
    "DAT_COTACAO": "2012-04-02T00:00:00",
    "DES_TIPOAPURACAO": "MENOR PREÇO POR ITEM",
    "IDT_TIPOAPURACAO": "1",
    "DES_OBJETO": (
        "Cotação de preços para aquisição de materiais destinados à "
        "pavimentação, drenagem e sinalização de vias urbanas e estradas "
        "vicinais do município, conforme plano de obras da Secretaria "
        "Municipal de Obras e Viação."),
}


def lots_numbered(lots):
    out, next_item = [], 1
    for number, description, rows in lots:
        out.append((number, description, numbered(next_item, rows)))
        next_item += len(rows)
    return out


SAMPLES = {
    "PL_000001_2010.json": build(
        PL_2010_HEADER, HEADER_FIELDS + PL_FIELDS + ITEM_FIELDS,
        [(1, "LOTE ÚNICO", numbered(1, SCHOOL_SUPPLIES))]),
    "PL_000014_2011.json": build(
        PL_2011_HEADER, HEADER_FIELDS + PL_FIELDS + ITEM_FIELDS,
        lots_numbered(MEDICINES_LOTS)),
    "CP_000045_2012.json": build(
        CP_2012_LOT_HEADER, HEADER_FIELDS + CP_FIELDS + ITEM_FIELDS,
        lots_numbered(SCHOOL_MEALS_LOTS)),
    "CP_000052_2012.json": build(
        CP_2012_ITEM_HEADER, HEADER_FIELDS + CP_FIELDS + ITEM_FIELDS,
        [(1, "LOTE ÚNICO", numbered(1, ROAD_WORKS))]),
}


def dumps(value, **options):
    return json.dumps(value, ensure_ascii=False, **options)


def write_table(table, out):
    """One field definition per line, one value per line, records apart."""
    out.write('{\n "fields": [\n')
    out.write(",\n".join("  " + dumps(f) for f in table["fields"]))
    out.write('\n ],\n "records": [\n')
    records = []
    for record in table["records"]:
        lines = ["   %s: %s" % (dumps(k), dumps(v)) for k, v in record.items()]
        records.append("  {\n" + ",\n".join(lines) + "\n  }")
    out.write(",\n".join(records))
    out.write("\n ]\n}\n")


def main():
    for name, table in SAMPLES.items():
        with open(os.path.join(HERE, name), "w", encoding="utf-8") as out:
            write_table(table, out)


if __name__ == "__main__":
    main()
