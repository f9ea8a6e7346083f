#include "app/courier_table.h"

namespace corvane {

TextArray CourierTable;

void releaseCourierTable() {
  // Assigning a fresh array releases every member text together with the storage.
  CourierTable = TextArray();
}

}  // namespace corvane
