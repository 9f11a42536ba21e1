#include <iostream>

#include "cli/CliApp.h"

int main(int argc, char** argv) { return pelagor::cli::RunCli(argc, argv, std::cout, std::cerr); }
