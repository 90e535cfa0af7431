// lumrun: plays a Lumforge game.
#include "shell/runner_main.h"

int main(int argc, char** argv) { return lum::runnerMain(argc, argv); }
