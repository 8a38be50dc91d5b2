#pragma once

#include <QString>

// Failures are printed as one line on standard output and the program carries on.
void printLine(const QString& line);
