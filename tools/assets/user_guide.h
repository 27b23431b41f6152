// The user guide installed beside the program ("Help" > "Tutorials"): the
// README's sections on using the programs, as one HTML page.
#pragma once

#include <QString>

// The sections of `readmeMarkdown` that say how to use the programs (the
// developer sections and the pictures, which are not installed, left out).
QString UserGuideMarkdown(const QString& readmeMarkdown);

// Reads the README at `readmePath` and writes the guide as HTML to `htmlPath`.
bool WriteUserGuide(const QString& readmePath, const QString& htmlPath);
