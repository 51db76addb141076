// Binding a parameter entry to its positional marker in the input XSQLDA.
#pragma once

#include "data/param.h"
#include "data/sqlda.h"

namespace zavrik::data {

class Connection;
class Transaction;

// Entry index is bound to marker index; text is treated by the marker's described type.
void BindParam(const Param& param, Sqlda& input, int index, Connection& db, Transaction& tr);

}  // namespace zavrik::data
