// Every text the report engine shows or reports, in Portuguese, in one place.
// Texts with %1, %2 take their arguments through QString::arg.
#pragma once

namespace reportengine::messages {

inline constexpr const char* kPreviewTitle = "Visualização do Relatório";
inline constexpr const char* kFirstPage = "Primeira página";
inline constexpr const char* kPriorPage = "Página anterior";
inline constexpr const char* kNextPage = "Próxima página";
inline constexpr const char* kLastPage = "Última página";
inline constexpr const char* kZoom = "Zoom:";
inline constexpr const char* kPrint = "Imprimir";
inline constexpr const char* kPrintTip = "Imprimir o relatório";
inline constexpr const char* kSavePdf = "Salvar PDF";
inline constexpr const char* kSavePdfTip = "Salvar o relatório em PDF";
inline constexpr const char* kClose = "Fechar";
inline constexpr const char* kCloseTip = "Fechar a visualização";
inline constexpr const char* kPdfFilter = "Documento PDF (*.pdf)";
inline constexpr const char* kDefaultDocumentName = "Relatorio";
// "Página 3 de 12"; while the layout runs, "Página 3 de 5… (40%)".
inline constexpr const char* kPageOf = "Página %1 de %2";
inline constexpr const char* kPageOfSoFar = "Página %1 de %2… (%3%)";
inline constexpr const char* kLayingOut = "Gerando o relatório…";
inline constexpr const char* kPrinting = "Imprimindo…";
inline constexpr const char* kWritingPdf = "Gravando o PDF…";
inline constexpr const char* kCancel = "Cancelar";
inline constexpr const char* kPrintFailed = "Não foi possível imprimir o relatório.";
inline constexpr const char* kSaveFailed = "Não foi possível salvar o arquivo %1: %2";
inline constexpr const char* kPdfFailed = "não foi possível gerar o PDF";
// Between the page number and the page count of a page-of-pages value.
inline constexpr const char* kPageOfPagesJoin = " de ";
inline constexpr const char* kMissingElement = "A faixa %1 não tem o elemento %2";

}  // namespace reportengine::messages
