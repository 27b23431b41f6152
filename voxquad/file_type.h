#pragma once

namespace voxquad {

// File kinds recognised by their extension on the command line.
enum FileType : int {
    FileTypeUnknown = 0,
    FileTypeVolume = 1,  // ".vol": recognised, no stage reads or writes it
    FileTypePLY = 2,
    FileTypePC = 3,      // shell deck of NODE, SHELL and MATER cards
    FileTypeOBJ = 4,
};

// Classifies a name by its extension: ".pc"/".PC", ".ply"/".PLY", ".vol"/".VOL", ".obj"/".OBJ"
// (only these two spellings of each). Prints "Unrecognized file format for <name>" to standard
// output for any other name.
FileType fileTypeOf(const char* name);

}  // namespace voxquad
