// Names of the header values that decoders publish into a KwParam.
#ifndef KWSDK_KWIMAGEPARAMS_H
#define KWSDK_KWIMAGEPARAMS_H

namespace KwSDK {

// Published by every decoder (decimal texts).
const char* const KW_PARAM_IMAGE_TYPE = "IMAGE_ImageType";
const char* const KW_PARAM_IMAGE_WIDTH = "IMAGE_Width";
const char* const KW_PARAM_IMAGE_HEIGHT = "IMAGE_Height";
// Published by decoders whose format has a sample depth (PNG, TIFF, ...).
const char* const KW_PARAM_IMAGE_DEPTH = "IMAGE_Depth";
// Published by decoders of multi-image files (GIF, icons): the image count.
const char* const KW_PARAM_IMAGE_COUNT = "IMAGE_Count";

// Published by the BMP decoder.
const char* const KW_PARAM_BMP_COMPONENTS = "BMP_ComponeNumber";
const char* const KW_PARAM_BMP_X_PER_METER = "BMP_XPerMeter";
const char* const KW_PARAM_BMP_Y_PER_METER = "BMP_YPerMeter";
const char* const KW_PARAM_BMP_X_PER_INCH = "BMP_XPerInch";
const char* const KW_PARAM_BMP_Y_PER_INCH = "BMP_YPerInch";

} // namespace KwSDK

#endif
