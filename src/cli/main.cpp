#include "cli/cli.h"

#include <iostream>

int main(int argc, char **argv)
{
    return tw::cli::run({argv + 1, argv + argc}, std::cout, std::cerr);
}
