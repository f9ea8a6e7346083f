// The work the two flows do on each answer of the service, apart from the requests, so that
// each step can be run on a canned answer.
#pragma once

#include "text/byte_set.h"
#include "text/text.h"

namespace corvane {

// The rows CourierTable holds; 0 while it has never been filled.
[[nodiscard]] int courierRowCount();

// Rebuilds CourierTable from the courier list answer (UTF-8 script text), row by row; an
// answer without entries leaves the table as it was. Returns the number of entries.
int fillCourierTable(const ByteSet& courierListAnswer);

// Empties "组合框1" and offers the couriers of the recognition answer (taken byte for byte), in
// its order, each item carrying the first table row with its code; the first item ends up
// selected.
void offerCandidates(const ByteSet& recognitionAnswer);

// Empties "超级列表框1" and shows the tracking answer (UTF-8): one row per progress entry, each
// inserted on top, or the rejection message.
void showTrackingAnswer(const ByteSet& trackingAnswer);

}  // namespace corvane
