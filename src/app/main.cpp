// The entry point: one `App` runs the game; the command line is read as one
// text, as the smoke option expects.
#include "app/app.h"

#include <string>

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        commandLine += i > 1 ? " " : "";
        commandLine += argv[i];
    }
    grumbo::App app;
    return app.launch(commandLine);
}
