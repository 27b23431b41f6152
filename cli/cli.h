// What the commands of plasmora-cli share: the exit statuses, the message
// line, reading and writing model files, and the table of commands.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "io/model_formats.h"
#include "model/scene.h"

// Success, the work failed, a wrong command line.
inline constexpr int kSuccess = 0, kFailure = 1, kUsage = 2;

// "plasmora-cli: " + text on standard error.
void Complain(const std::string& text);

// Reads a model file into a fresh scene; false after saying why.
bool LoadScene(const std::string& fileName, TScene& scene);

// The writable format that `fileName`'s extension names; nullptr after saying why.
const TModelFormat* OutputFormat(const std::string& fileName);

// Writes the scene, or for a one-element format its current element (after
// saying so when the scene has more), in `format`.
bool WriteScene(TScene& scene, const std::string& fileName, const TModelFormat& format);

// One command: its name, how many arguments follow it, its lines of the help
// text, and what it does (it gets the arguments after its name).
struct TCliCommand {
  const char* name;
  size_t minArguments, maxArguments;
  const char* help;
  int (*run)(const std::vector<std::string>& arguments);
};

// Every command, in the order of the help text.
std::span<const TCliCommand> CliCommands();
