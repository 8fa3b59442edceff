#pragma once
// What `check` says about a pack: the game's own rules, then what the pictures show.
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "packtool/GameRules.h"

namespace pikora::packtool {

// A channel must move by more than this before a pixel counts as changed: below it lie the
// rounding of JPEG and of resampling.
constexpr int Noise = 12;
// A pixel whose channel moves by this much is plainly changed.
constexpr int Strong = 40;
// Fewer plainly changed pixels than this make a difference tiny.
constexpr int TinyBelow = 40;

constexpr int LandscapeWidth = 380, LandscapeHeight = 256;

// A rectangle as the pixels a click can hit (edges inside); empty when Left > Right.
struct Box {
  int Left = 0, Top = 0, Right = -1, Bottom = -1;
  int Width() const { return Right - Left + 1; }
  int Height() const { return Bottom - Top + 1; }
  bool Empty() const { return Right < Left || Bottom < Top; }
  cv::Rect ToCv() const { return {Left, Top, Width(), Height()}; }
};
Box PixelsOf(const Rect& R);
std::string Describe(const Box& B);

// The largest change of any channel, per pixel (CV_8U).
cv::Mat ChangeMap(const cv::Mat& A, const cv::Mat& B);

// A level picture decoded as BGR, refused by its header when it is not the size the pack's
// layout needs; an empty matrix with a finding otherwise.
cv::Mat DecodeLevelPicture(const std::string& Entry, const std::string& Bytes, bool Vertical,
                           std::vector<Finding>& Findings);

// Everything about one level's pictures and rectangles.
std::vector<Finding> CheckLevelPictures(const LevelData& Level, const cv::Mat& Original, const cv::Mat& Modified);

// The whole check of one pack.
std::vector<Finding> CheckPack(const PackData& Pack);

// "FILE: ENTRY:LINE: error: TEXT", as compilers write it.
std::string FormatFinding(const std::string& File, const Finding& F);
bool HasErrors(const std::vector<Finding>& Findings);

}  // namespace pikora::packtool
