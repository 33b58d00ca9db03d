#include "platform/process.h"

namespace grumbo {

ProcessSession::ProcessSession() = default;

ProcessSession::~ProcessSession() = default;

std::string commandLineText(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        commandLine += i > 1 ? " " : "";
        commandLine += argv[i];
    }
    return commandLine;
}

} // namespace grumbo
