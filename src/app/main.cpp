// The entry point on every system: one `App` runs the game; the command line
// is read as one text, as the smoke option expects.
#include "app/app.h"
#include "platform/process.h"

int main(int argc, char** argv) {
    const grumbo::ProcessSession session;
    grumbo::App app;
    return app.launch(grumbo::commandLineText(argc, argv));
}
