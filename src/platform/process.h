// The process as a whole: what the system needs set up before the game's
// objects exist, and the command line as the game reads it.
#pragma once

#include <string>

namespace grumbo {

// Held by the entry point for the life of the game. On Windows it makes the
// process DPI-aware (the game's window sizes are pixels, which the system must
// not stretch) and starts COM on the window thread for the drawing and image
// libraries; elsewhere there is nothing to set up.
class ProcessSession {
  public:
    ProcessSession();
    ~ProcessSession();
    ProcessSession(const ProcessSession&) = delete;
    ProcessSession& operator=(const ProcessSession&) = delete;

  private:
    bool comStarted = false;
};

// The arguments after the program name joined by single spaces, as UTF-8. On
// Windows they are read from the system's own UTF-16 command line, since
// `argv` there holds only what the local code page can spell.
std::string commandLineText(int argc, char** argv);

} // namespace grumbo
