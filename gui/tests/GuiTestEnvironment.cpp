// The toolkit's test programs draw on images as the programs do: the image
// surface is installed once at start, before any component exists.
#include "ImplKwImageGraphics.h"

#include <gtest/gtest.h>

namespace {

class ImageDrawingEnvironment : public ::testing::Environment {
public:
    void SetUp() override { KwSDK::ImplKwImageGraphics::InstallHooks(); }
};

const ::testing::Environment* const g_pImageDrawing =
    ::testing::AddGlobalTestEnvironment(new ImageDrawingEnvironment);

} // namespace
