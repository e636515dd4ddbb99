// Entry of the kwimg program.
#include "KwImgTool.h"

int main(int argc, char** argv)
{
    KwSDK::KwImgTool tool;
    return tool.Run(argc, argv);
}
