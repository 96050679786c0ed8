// Field helpers shared by every subsystem, and the path-string helpers of the run-time library.
#pragma once

#include <string>
#include <string_view>

#include "rtl/SysUtils.h"

namespace qnl {

class TStrings;

// The n-th field (from 1) of text split at separator; empty when there is no such field.
std::string GetField(std::string_view text, int n, char separator = ';');
// Number of ";"-separated fields; a trailing ";" starts no empty field, "" has none.
int FieldCount(std::string_view text, char separator = ';');
// Clears list and adds the ";"-separated fields of text.
void FieldsToStrings(std::string_view text, TStrings& list, char separator = ';');

} // namespace qnl
