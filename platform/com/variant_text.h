// Text forms of automation values: numbers, logicals and dates to and from UTF-16.
// Contract: parsing skips surrounding blanks and answers DISP_E_TYPEMISMATCH (or false / -1)
// for anything else; dates are day counts from 1899-12-30, written "yyyy/m/d h:mm:ss" with the
// time left off at midnight and the date left off on day 0.
#pragma once

#include <string>

#include "platform/com/variant.h"

namespace platform::com::text {

HRESULT parse_number(BSTR text, double* out);
// 1 for "True", 0 for "False" (any case), -1 otherwise.
int parse_bool(BSTR text);
bool parse_date(BSTR text, DATE* out);
std::u16string format_number(double value);
std::u16string format_date(DATE value);

}  // namespace platform::com::text
