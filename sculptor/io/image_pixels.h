// Decoded texture images as the OpenGL upload takes them, and the message a
// decoder gives when it refuses a file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/geosphera.h"
#include "model/messages.h"

// RGB (3 bytes a pixel) or RGBA (4), rows bottom-up, no row padding.
struct TImagePixels {
  int32_t width = 0;
  int32_t height = 0;
  int32_t channels = 0;
  AByte pixels;
};

// What a decoder says when it refuses a file: the text and the caption of its
// message box. An empty text refuses silently (a name without a known extension).
struct TImageFailure {
  MessageKind kind = MessageKind::Error;
  std::string text;
  std::string caption;
};

struct TImageLoad {
  bool ok = false;
  TImagePixels image;  // when ok
  TImageFailure failure;  // when not

  static TImageLoad Refused(std::string text, std::string caption, MessageKind kind = MessageKind::Error) {
    TImageLoad load;
    load.failure = {kind, std::move(text), std::move(caption)};
    return load;
  }
};

using ImageBytes = std::span<const uint8_t>;
