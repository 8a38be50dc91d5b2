#pragma once

#include <QString>

// Failures are printed as one line on standard output and the program carries on.
// Control characters in the line (a list's entry, a tag, a path) are printed escaped.
void printLine(const QString& line);

// The text with every control character (C0, DEL, C1) written as \x1b (two hex digits, lower
// case), so that what a file holds cannot move the cursor, recolour or retitle a terminal.
QString escapeControls(const QString& text);
