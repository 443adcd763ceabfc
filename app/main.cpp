#include "app/programentry.h"

int main(int argc, char *argv[])
{
    return pelmaris::app::runProgram(argc, argv);
}
