// "Relatorio": the proposal report. Built by the report unit.
#include "UNT_KLAVPropostas.h"

void TFRM_KLAVPropostas::BBT_RelatorioClick() {}
