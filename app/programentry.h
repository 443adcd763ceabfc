#pragma once

class QApplication;

namespace pelmaris::app {

// What the program sets up on its application object before any window exists: its
// names, the decoders' silence, and Qt's Japanese catalogue so that every box and
// standard dialog speaks Japanese whatever the locale.
void prepareApplication(QApplication &application);

// The whole program: prepares the application, shows the main window, runs the loop.
int runProgram(int argc, char *argv[]);

} // namespace pelmaris::app
