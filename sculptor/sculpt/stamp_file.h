// Stamp pictures from files (the decoders of the texture loaders, Qt's
// generic reader for TIFF), and the stamp grid read from one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "io/image_pixels.h"

// The picture of a stamp file, rows bottom-up; nothing for a name of no
// reader (StampReaderOfName) or a file that does not decode. Shows nothing:
// the brush reads the file at every application.
std::optional<TImagePixels> ReadStampPicture(const std::string& fileName);

// ReadStampGrid: the heights of the picture resampled to W x H
// (SampleStampGrid) into `grid`; false, with `grid` as it was, when the file
// gave no picture or W or H is below 1.
bool ReadStampGrid(const std::string& fileName, int32_t width, int32_t height, std::vector<int32_t>& grid);
