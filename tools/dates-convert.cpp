// dates-convert: the converter's engine on the command line.
#include "tools/CommandLine.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::string output;
    std::string error;
    int status = RunDatesConvert(std::vector<std::string>(argv + 1, argv + argc), output, error);
    if (std::fputs(output.c_str(), stdout) == EOF || std::fflush(stdout) == EOF) {
        error = "dates-convert: cannot write to standard output\n";
        status = 1;
    }
    std::fputs(error.c_str(), stderr);
    return status;
}
