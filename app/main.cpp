#include "commandline.h"
#include "program.h"

int main(int argc, char** argv) {
    spz::answerHelpAndVersion(argc, argv);
    const auto application = spz::openDisplay(argc, argv);
    spz::configureApplication();

    spz::WheelSource wheel;
    spz::SystemClock clock;
    spz::LoopPause pause;
    spz::QtMessageBoxes boxes;
    spz::Program program({&wheel, &clock, &pause, &boxes});
    program.start();
    // Ends when the last window closes, however the player left.
    return application->exec();
}
