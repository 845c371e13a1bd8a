// Enhanced metafiles from outside: see MetafileFuzzCommon.h for what every input must keep to.
#include "MetafileFuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return px::fuzz::CheckMetafileInput(data, size, "EmfPlayerFuzz");
}
