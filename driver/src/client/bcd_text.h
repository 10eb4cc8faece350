// The BCD number record as decimal text and back: the form in which decimal
// values cross between the host and the client runtime's decimal conversions.
#pragma once

#include <string>

#include "quovex/types.h"

namespace quovex::inf {

// Writes `bcd` as plain decimal text: an optional "-", the integer digits
// without leading zeros (or "0"), ".", the fraction digits with trailing
// zeros dropped but at least one kept ("12.34", "1.0", "-0.5").
// RESULT_INVALID_CONVERSION (text untouched) when the record cannot hold what
// it claims: more than 64 digits, more places than digits, or a nibble above 9.
ResultCode bcdToDecimalText(const BcdRecord& bcd, std::string& text);

// Parses decimal text (as the runtime writes it: optional sign, digits, one
// optional ".") into `bcd`. Leading white space is skipped and the text ends
// at the first blank or after 49 characters. A text with an exponent sets all
// 34 bytes to 0 and gives RESULT_INVALID_CONVERSION. Characters other than
// digits and the point are dropped.
ResultCode decimalTextToBcd(const char* text, BcdRecord& bcd);

}  // namespace quovex::inf
