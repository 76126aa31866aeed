// Where the model library reports: the debugger output (with the run log), and the few message
// boxes of the GMF stream and records.
#pragma once

#include <string>

// The library's last error text, set before a construction is refused.
std::string& giErrorText();

// Sends text as it is (lines carry their own line feed) to the debugger output and the log.
void giOutputDebugString(const char* text);

// A message box with an OK button. A text already shown under the same caption in this run is
// only logged: a broken record list would otherwise raise one box per record. Headless, boxes
// go to stderr and the log (the engine's message box does that).
void giMessageBox(const char* text, const char* caption);

// How many boxes were asked for and how many were shown since the last reset, and a reset that
// forgets which texts were shown (tests).
int giMessageBoxAsked();
int giMessageBoxShown();
void giMessageBoxReset();
