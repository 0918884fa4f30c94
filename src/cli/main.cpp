#include "cli/CliApp.h"

int main(int argc, char** argv) {
    return zavuv::cli::run(argc, argv);
}
