#pragma once
// The format settings of the stored options, as the picture-file writers take them.
#include "app/ProgramOptions.h"
#include "files/PictureFiles.h"

namespace px {

inline PictureWriteSettings WriteSettingsOf(const ProgramOptions& o)
{
    PictureWriteSettings s;
    s.bmpPixForm = o.BmpPixForm;
    s.bmpMonochrome = o.BmpMonochrome;
    s.jpgPixelFormat = o.JpgPixelFormat;
    s.jpgColr = o.JpgColr;
    s.jpgPerformance = o.JpgPerformance;
    s.jpgCompress = o.JpgCompress;
    s.gifComp = o.GifComp;
    s.gifDith = o.GifDith;
    s.gifColOpt = o.GifColOpt;
    return s;
}

} // namespace px
