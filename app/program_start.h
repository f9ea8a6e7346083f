// The program's beginning and end.
#pragma once

namespace corvane {

// Starts the toolkit, prepares CourierTable, opens MainWindow and runs the message loop until
// the window has closed; returns 0.
int programStart();

}  // namespace corvane
