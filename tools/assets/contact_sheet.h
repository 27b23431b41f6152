// The contact sheet of the start-mesh previews for the documentation.
#pragma once

#include <string>

// Lays the previews of the base models (from `programFolder`/images) out in
// two rows, each over its button's caption, and saves the sheet as PNG.
// Needs a QGuiApplication (for the captions' font).
bool WriteContactSheet(const std::string& programFolder, const std::string& outFile);
