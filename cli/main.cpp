// plasmora-cli: the sculptor's core on the command line, for batch work and
// scripts. Results go to standard output, messages to standard error; the exit
// status is 0 on success, 1 when the work failed and 2 for a wrong command line.
#include <cstdio>

#include "cli.h"

namespace {

std::string HelpText() {
  std::string text = "usage: plasmora-cli COMMAND ...\n\n";
  for (const TCliCommand& command : CliCommands()) text += command.help;
  return text + "  --help             show this text\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(HelpText().c_str(), stdout);
    return kSuccess;
  }
  if (!args.empty()) {
    const std::vector<std::string> arguments(args.begin() + 1, args.end());
    for (const TCliCommand& command : CliCommands()) {
      if (args[0] == command.name && arguments.size() >= command.minArguments &&
          arguments.size() <= command.maxArguments) {
        return command.run(arguments);
      }
    }
  }
  if (args.empty()) Complain("no command given");
  else Complain("unknown command or wrong arguments: " + args[0]);
  std::fputs(HelpText().c_str(), stderr);
  return kUsage;
}
