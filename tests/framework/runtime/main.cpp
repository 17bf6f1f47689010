#include "TempFolders.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    MakeTestFolders();
    const int result = RUN_ALL_TESTS();
    RemoveTestFolders();
    return result;
}
