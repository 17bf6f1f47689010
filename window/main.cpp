// dates-converter: the converter window. It takes no command line.
#include "window/Program.h"

int main(int, char** argv)
{
    return RunConverter(argv[0]);
}
