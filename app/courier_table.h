// The process-wide table of courier companies: row r holds the company's display name in
// column 1 and its code in column 2. The button flow is its only writer, the selection flow
// its only reader; both run on the GUI thread.
#pragma once

#include "text/text_array.h"

namespace corvane {

// Empty (one dimension, no members) until the first courier list that names a company.
extern TextArray CourierTable;

// Releases every text of the table and its storage; run once at a normal end of the program.
void releaseCourierTable();

}  // namespace corvane
