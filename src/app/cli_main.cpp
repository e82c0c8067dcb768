#include "cli/Cli.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char* argv[])
{
    // libzip converts every entry's time stamp; without TZ the C library
    // reads the zone file again for each one.
    setenv("TZ", ":/etc/localtime", 0);

    std::vector<std::string> arguments(argv + 1, argv + argc);
    return twl::RunCli(arguments, std::cout, std::cerr);
}
