#pragma once
// Finding the changed regions of a picture pair, for pack makers who paint differences by hand.
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "packtool/Check.h"

namespace pikora::packtool {

struct DetectOptions {
  int Threshold = 24;  // a channel change above this counts (JPEG noise stays below it)
  int MinPixels = 6;   // a changed region smaller than this is noise
  int Gap = 4;         // changes closer than this belong to one region
  int Pad = 3;         // the rectangle reaches this far beyond the change
};

struct Detection {
  std::vector<Box> Regions;  // what was found, before merging, in reading order
  std::vector<Box> Rects;    // five padded rectangles, in reading order; empty when refused
  std::string Problem;       // why not five, naming where the changes are
};

Detection DetectDifferences(const cv::Mat& Original, const cv::Mat& Modified, const DetectOptions& Options = {});

// The rectangles as picinfo.ini lines (1Left=... up to 5Bottom=...).
std::string PicInfoLines(const std::vector<Box>& Rects);

}  // namespace pikora::packtool
