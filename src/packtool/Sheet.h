#pragma once
// A contact sheet of a pack: every level's two pictures with their rectangles and its text.
#include <opencv2/core.hpp>
#include <string>

#include "packtool/GameRules.h"

namespace pikora::packtool {

cv::Mat ContactSheet(const PackData& Pack, const std::string& Title);

// UTF-8 text as ASCII for OpenCV's fonts: Croatian letters lose their marks, đ becomes dj.
std::string Ascii(const std::string& Utf8);

}  // namespace pikora::packtool
