// Writes the manual page of tillwise-cli at build time.
#include "cli/cli.h"

#include <iostream>

int main()
{
    tw::cli::write_manual_page(std::cout);
    return std::cout ? 0 : 1;
}
