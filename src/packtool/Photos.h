#pragma once
// Levels made from a player's own photos: five differences each, made where the photo has
// structure, and confined to their rectangles in the encoded files.
#include <opencv2/core.hpp>
#include <string>
#include <utility>
#include <vector>

#include "packtool/Check.h"

namespace pikora::packtool {

struct MadeLevel {
  std::vector<Box> Rects;            // five, in the order they were made
  std::vector<std::string> Kinds;    // what each difference is
  std::string Extension;             // ".jpg", or ".bmp" when JPEG could not keep the pair exact
  std::string OriginalBytes, ModifiedBytes;
  std::string Problem;               // why no level could be made
};

// The photo cropped to the level's shape and scaled to its size.
cv::Mat FitToLevel(const cv::Mat& Photo, bool Portrait);

// One level from one fitted picture; Seed varies the choices.
MadeLevel MakeLevel(const cv::Mat& Picture, unsigned Seed);

struct PhotoPack {
  std::vector<std::pair<std::string, std::string>> Entries;  // entry name, file in the folder
  std::vector<std::string> Levels;                           // what each level is made of
  std::string Problem;                                       // "PHOTO: why", when no pack can be made
};

// Every file of a pack made from Photos, one level each, written into Folder.
PhotoPack MakePhotoPack(const std::vector<std::string>& Photos, const std::string& Name, bool Portrait,
                        const std::string& Folder);

}  // namespace pikora::packtool
