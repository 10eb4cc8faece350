// One-row queries and variable-length texts of the client runtime stand-in
// (roles 119, 123, 75, 79, 59 and 658 to 676). Included by ifxrt/client.h.
//
// A one-row query runs a SELECT that yields at most one row, with its input
// values and its result places given in two value areas:
//
//   IfxValueArea* out = clientOutputArea(2);
//   clientBindOutput(out, 0, IFX_TYPE_INTEGER, &id, sizeof id, &idIndicator);
//   clientBindOutput(out, 1, IFX_TYPE_LVARCHAR, text, 0, nullptr);   // an IfxVarText*
//   IfxValueArea* in = clientInputArea(1);
//   clientBindInput(in, 0, IFX_TYPE_INTEGER, &key, sizeof key);
//   clientClearBuffer(id8, 8);
//   clientSelectInto(id8, "select ... where x = ?", in, out);  // frees both areas
//
// Status of clientSelectInto: 0 with the row's values in the places; 100 when
// the query yields no row (places untouched); -284 when it yields more than
// one (the first row's values are in the places); -254 for an area or entry
// that is missing or cannot be used; the SQL codes of client.h; -1803 without
// a current connection. The text is recorded in the statement log.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "ifxrt/client.h"

#ifdef __cplusplus
extern "C" {
#endif

// A variable-length text (Informix lvarchar): owned by the caller from
// clientVarTextNew to clientVarTextFree.
typedef struct IfxVarText IfxVarText;

// Input values or result places of one one-row query. Made by
// clientInputArea / clientOutputArea; clientSelectInto frees both areas it is
// given, whatever its outcome. Opaque.
typedef struct IfxValueArea IfxValueArea;

// 119, 123: an area of `count` entries (1 to 512), all unbound; null (status
// -3 no memory, or -254 for a count out of range) otherwise. The status area
// is written as by every statement-level role.
IFXRT_API IfxValueArea* clientInputArea(int32_t count);
IFXRT_API IfxValueArea* clientOutputArea(int32_t count);

// 75: input entry `index` (from 0) takes its value from `data`:
// IFX_TYPE_SMALLINT int16_t, IFX_TYPE_INTEGER int32_t, IFX_TYPE_FLOAT double,
// IFX_TYPE_CHAR / IFX_TYPE_VARCHAR a text of `length` bytes (up to a NUL;
// a length below 1 reads up to the NUL), IFX_TYPE_LVARCHAR an IfxVarText*.
// A null `data` is NULL. Returns 0, or -254 for a null area, an index out of
// range or another type. Leaves the status area alone.
IFXRT_API int32_t clientBindInput(IfxValueArea* area, int32_t index, int32_t type, const void* data, int32_t length);

// 79: output entry `index` receives the column of that position into
// `place`: the types as for input; a CHAR or VARCHAR place holds `length`
// bytes with the NUL (a longer value is cut); an IFX_TYPE_LVARCHAR place is
// an IfxVarText* that receives the whole text. `indicator`, when given,
// receives -1 for NULL and 0 otherwise. Returns 0 or -254 as for input.
IFXRT_API int32_t clientBindOutput(IfxValueArea* area, int32_t index, int32_t type, void* place, int32_t length,
                                   int16_t* indicator);

// 59: runs the one-row query `sql` with the cleared 8-byte id `id`, binding
// the input entries to its "?" markers in order and writing the first
// row's columns into the output entries (extra columns or entries are
// ignored). Frees `input` and `output` (either may be null).
IFXRT_API void clientSelectInto(void* id, const char* sql, IfxValueArea* input, IfxValueArea* output);

// 658: a new, NULL variable-length text into *text. 0, or -3 (nothing made).
IFXRT_API int32_t clientVarTextNew(IfxVarText** text);
// 662: frees a text made by clientVarTextNew; null is ignored. Returns 0.
IFXRT_API int32_t clientVarTextFree(IfxVarText* text);
// 666: 1 when the text is NULL (or null), else 0.
IFXRT_API int32_t clientVarTextIsNull(const IfxVarText* text);
// 672: the text's characters, NUL-terminated; "" for a NULL or null text.
// Valid until the text is written again or freed.
IFXRT_API const char* clientVarTextData(const IfxVarText* text);
// 676: the number of characters; 0 for a NULL or null text.
IFXRT_API int32_t clientVarTextLength(const IfxVarText* text);

#ifdef __cplusplus
}
#endif
