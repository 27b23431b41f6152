// The model file formats, one table row each: the extension that names a file
// of the format, how the file dialogs offer it, and its reader and writer.
// Loading by extension, the model writer, the file dialogs and plasmora-cli all
// choose a format through this table, so a new format is one row here (plus its
// reader or writer).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "io/obj_model.h"
#include "model/scene.h"

// Format kinds, as an element keeps them in `sourceKind`; 0 names no format.
enum : int {
  kModelUnknown = 0,
  kModelMet = 1,
  kModelObj = 2,
  kModelPly = 3,
  kModelStl = 4,
  kModelStlAscii = 5,  // written only; STL files of both forms are read as kModelStl
  kModelOff = 6,
};

struct TModelFormat {
  int kind;
  const char* name;       // in messages: "a PLY file holds one element"
  const char* extension;  // lower case, with the dot; files match it in any case
  // A file holds the whole scene, one group per element (and may be refused
  // when a single element is added from it); otherwise one element, the
  // current one when written.
  bool wholeScene;
  // The program's own format: the one Save As writes, listed last by Open.
  bool native;
  // Filter captions ("Name" of "Name (*.ext)") of the file dialogs; nullptr
  // where the dialog does not offer the format. Save As offers the native
  // format, Export the others with a save caption.
  const char* openCaption;
  const char* importCaption;
  const char* saveCaption;
  // nullptr where the program cannot read or write the format.
  TReadStatus (*read)(TOBJModel& model, const std::string& fileName);
  bool (*write)(TScene& scene, const std::string& fileName);
};

// Every format, in table order.
std::span<const TModelFormat> ModelFormats();

// The row of a kind; nullptr for kModelUnknown and kinds no row has.
const TModelFormat* FindModelFormat(int kind);

// The format of a file from its extension (in any case), the first row with
// it; nullptr when none matches.
const TModelFormat* ModelFormatOfFile(const std::string& fileName);

// The kind of a model file from its extension (in any case); kModelUnknown otherwise.
int ModelKindOfFile(const std::string& fileName);

// The native format (Save As).
const TModelFormat& NativeModelFormat();

// The file dialogs that offer model formats.
enum class TModelDialog { Open, Import, Export, SaveAs };

// Whether `dialog` offers `format`: Open and Import those with their caption,
// Save As the native format, Export the other writable ones with a save caption.
bool DialogOffers(TModelDialog dialog, const TModelFormat& format);

// One filter of a file dialog: "Name (*.ext)", or for Open and Import first
// "All (*.a *.b ...)" over every format offered, whose `format` is nullptr.
struct TModelFilter {
  std::string caption;
  const TModelFormat* format;
};

// The filters of `dialog` in their order: Open lists the exchange formats
// before the native one, the others follow the table.
std::vector<TModelFilter> DialogFilters(TModelDialog dialog);
