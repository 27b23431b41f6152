// Reader of the line-oriented text model files: Met (".met") and the OBJ
// dialect it derives from share one tokenizer, face layout, fan triangulation
// and number rules, and differ only in what TTextModelDialect says.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "io/obj_model.h"

struct TTextModelDialect {
  const char* initialGroupName;
  bool levelRecords;    // "div" sets the group's level
  bool fractionColors;  // "cor" may hold three fractions 0..1 instead of integers
  uint8_t colorAlpha;   // alpha of the colours read from "cor"
  bool fileWideReferences;  // faces may use the vertices of earlier groups (OBJ)
  bool relativeReferences;  // negative numbers count back from the last one read (OBJ)
};

inline constexpr TTextModelDialect kMetDialect{"Unnamed group0", true, true, 255, false, false};

// Replaces `model` by the records of `text` (a whole file, with or without a
// byte-order mark). A malformed record stops the reading with "File format not
// recognized."; what was read before it stays in `model`.
TReadStatus ParseTextModel(TOBJModel& model, std::string_view text, const TTextModelDialect& dialect);

// ParseTextModel on the contents of a file (CannotOpen when it cannot be read).
TReadStatus ReadTextModelFile(TOBJModel& model, const std::string& fileName, const TTextModelDialect& dialect);

TReadStatus ReadMet(TOBJModel& model, const std::string& fileName);
