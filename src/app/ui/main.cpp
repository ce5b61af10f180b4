#include "app/ui/program_main.h"
#include "platform/edition.h"

int main(int argc, char **argv)
{
    return tw::run_program(argc, argv, tw::current_release());
}
