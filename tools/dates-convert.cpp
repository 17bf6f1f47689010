// dates-convert: the converter's engine on the command line.
#include "tools/CommandLine.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    return RunDatesConvertProcess(std::vector<std::string>(argv + 1, argv + argc));
}
