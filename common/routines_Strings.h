// Field helpers shared by every subsystem, and the path-string helpers of the run-time library.
#pragma once

#include <string>
#include <string_view>

#include "rtl/SysUtils.h"

namespace qnl {

class TStrings;

// The n-th field (from 1) of text split at separator; empty when there is no such field.
std::string GetField(std::string_view Text, int N, char Separator = ';');
// Number of ";"-separated fields; a trailing ";" starts no empty field, "" has none.
int FieldCount(std::string_view Text, char Separator = ';');
// Clears list and adds the ";"-separated fields of text.
void FieldsToStrings(std::string_view Text, TStrings& List, char Separator = ';');

} // namespace qnl
