// One fuzz target per reader: FUZZ_TARGET(name)(const uint8_t* data, size_t size) { ... }
//
// Built for libFuzzer (`make fuzz`) the body is the fuzzer's entry point. In the
// ordinary builds the same body registers itself under its name, and the
// corpus test runs every kept input of fuzz/corpus/<name>/ through it, so seeds
// and past failures stay regression cases of `make test`.
//
// A target calls the reader as the program does, then checks what must hold of
// any accepted result and traps (a crash for both builds) when it does not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

using FuzzFunction = int (*)(const uint8_t* data, size_t size);

#ifdef PLASMORA_FUZZ_REPLAY
bool RegisterFuzzTarget(const char* name, FuzzFunction function);
#define FUZZ_TARGET(name)                                                \
  static int FuzzTarget_##name(const uint8_t* data, size_t size);        \
  [[maybe_unused]] static const bool kRegistered_##name =                \
      RegisterFuzzTarget(#name, FuzzTarget_##name);                      \
  static int FuzzTarget_##name
#else
#define FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput
#endif

// The condition must hold; otherwise stop here as a crash the fuzzer keeps.
#define FUZZ_CHECK(condition) \
  do {                        \
    if (!(condition)) __builtin_trap(); \
  } while (false)

inline std::string_view AsText(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }
