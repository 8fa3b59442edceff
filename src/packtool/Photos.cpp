#include "packtool/Photos.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/photo.hpp>
#include <random>

#include "engine/IniText.h"
#include "packtool/Detect.h"

namespace pikora::packtool {

namespace {

// A change fills whole 16 x 16 JPEG blocks, so the blocks around it encode exactly as in the
// original; the rectangle is one pixel wider because the decoder smooths colour that far.
constexpr int Block = 16, Side = 3 * Block, Border = Block;
constexpr int JpegQuality = 92;
// Plainly changed pixels a made difference needs, of the 48 x 48 it may use, counted on
// softened pictures: reshuffled fine texture (fur, grass) does not count, since nobody sees it.
constexpr int WantPlain = 250;
// Mean edge strength of a softened place below which it is flat: sky, a wall, blur.
constexpr double LeastDetail = 12;

struct Spot {
  cv::Rect Area;  // block-aligned, where the change goes
  double Structure = 0;
};

cv::Mat Softened(const cv::Mat& Picture) {
  cv::Mat Out;
  cv::GaussianBlur(Picture, Out, {0, 0}, 2);
  return Out;
}

// Mean edge strength of every block-aligned square: flat sky and blur score low, and so does
// fine texture, which the softening removes first.
std::vector<Spot> Spots(const cv::Mat& Picture) {
  cv::Mat Gray, Gx, Gy, Magnitude, Sum;
  cv::cvtColor(Softened(Picture), Gray, cv::COLOR_BGR2GRAY);
  cv::Sobel(Gray, Gx, CV_32F, 1, 0);
  cv::Sobel(Gray, Gy, CV_32F, 0, 1);
  cv::magnitude(Gx, Gy, Magnitude);
  cv::integral(Magnitude, Sum, CV_64F);
  std::vector<Spot> Out;
  for (int Y = Border; Y + Side + Border <= Picture.rows; Y += Block)
    for (int X = Border; X + Side + Border <= Picture.cols; X += Block) {
      const double Total = Sum.at<double>(Y + Side, X + Side) - Sum.at<double>(Y, X + Side) -
                           Sum.at<double>(Y + Side, X) + Sum.at<double>(Y, X);
      Out.push_back({{X, Y, Side, Side}, Total / (Side * Side)});
    }
  std::sort(Out.begin(), Out.end(), [](const Spot& A, const Spot& B) { return A.Structure > B.Structure; });
  return Out;
}

cv::Mat SoftEllipse(cv::Size Size, double Fill) {
  cv::Mat Mask = cv::Mat::zeros(Size, CV_32F);
  cv::ellipse(Mask, {Size.width / 2, Size.height / 2}, {int(Size.width * Fill / 2), int(Size.height * Fill / 2)}, 0,
              0, 360, 1.0, cv::FILLED);
  cv::GaussianBlur(Mask, Mask, {7, 7}, 2);
  return Mask;
}

// Changed over Old where Mask says, per pixel.
cv::Mat Blend(const cv::Mat& Old, const cv::Mat& Changed, const cv::Mat& Mask) {
  cv::Mat O, C, M3, Out;
  Old.convertTo(O, CV_32FC3);
  Changed.convertTo(C, CV_32FC3);
  cv::merge(std::vector<cv::Mat>(3, Mask), M3);
  Out = C.mul(M3) + O.mul(cv::Scalar::all(1.0) - M3);
  Out.convertTo(Out, CV_8UC3);
  return Out;
}

using Maker = std::function<cv::Mat(const cv::Mat& Picture, const cv::Rect& Area, std::mt19937& Random)>;

// The area's surroundings fill in the object in its middle.
cv::Mat Remove(const cv::Mat& Picture, const cv::Rect& Area, std::mt19937&) {
  const cv::Rect Context = (Area + cv::Size(2 * Block, 2 * Block)) - cv::Point(Block, Block);
  cv::Mat Mask = cv::Mat::zeros(Context.size(), CV_8U);
  cv::ellipse(Mask, {Context.width / 2, Context.height / 2}, {Side * 3 / 8, Side * 3 / 8}, 0, 0, 360, 255, cv::FILLED);
  cv::Mat Filled;
  cv::inpaint(Picture(Context), Mask, Filled, 6, cv::INPAINT_TELEA);
  return Filled(cv::Rect(Block, Block, Side, Side)).clone();
}

// A coloured detail turns to another hue; a grey one gets lighter or darker.
cv::Mat Recolour(const cv::Mat& Picture, const cv::Rect& Area, std::mt19937& Random) {
  cv::Mat Hsv;
  cv::cvtColor(Picture(Area), Hsv, cv::COLOR_BGR2HSV);
  const bool Coloured = cv::mean(Hsv)[1] >= 50;
  const int Turn = std::uniform_int_distribution<int>(50, 130)(Random);
  const bool Lighter = cv::mean(Hsv)[2] < 128;
  for (auto It = Hsv.begin<cv::Vec3b>(); It != Hsv.end<cv::Vec3b>(); ++It) {
    cv::Vec3b& P = *It;
    if (Coloured)
      P[0] = uchar((P[0] + Turn) % 180);
    else
      P[2] = cv::saturate_cast<uchar>(Lighter ? P[2] + (255 - P[2]) * 0.5 : P[2] * 0.6);  // texture stays
  }
  cv::Mat Changed;
  cv::cvtColor(Hsv, Changed, cv::COLOR_HSV2BGR);
  // The region of like colour around the middle changes, so the change follows an object's
  // outline; a region too small for that gets an oval.
  cv::Mat Region = cv::Mat::zeros(Area.height + 2, Area.width + 2, CV_8U), Source = Softened(Picture(Area));
  cv::floodFill(Source, Region, {Area.width / 2, Area.height / 2}, {}, nullptr, cv::Scalar::all(20),
                cv::Scalar::all(20), 8 | cv::FLOODFILL_MASK_ONLY | cv::FLOODFILL_FIXED_RANGE | (255 << 8));
  cv::Mat Mask;
  Region(cv::Rect(1, 1, Area.width, Area.height)).convertTo(Mask, CV_32F, 1.0 / 255);
  const cv::Mat Oval = SoftEllipse(Area.size(), 0.85);
  if (cv::countNonZero(Mask) < Area.area() / 5) return Blend(Picture(Area), Changed, Oval);
  cv::GaussianBlur(Mask, Mask, {5, 5}, 1.5);
  return Blend(Picture(Area), Changed, cv::min(Mask, Oval));
}

cv::Mat Mirror(const cv::Mat& Picture, const cv::Rect& Area, std::mt19937& Random) {
  cv::Mat Flipped;
  cv::flip(Picture(Area), Flipped, std::uniform_int_distribution<int>(0, 1)(Random));
  return Blend(Picture(Area), Flipped, SoftEllipse(Area.size(), 0.9));
}

// The detail slides over by a third of the area.
cv::Mat Move(const cv::Mat& Picture, const cv::Rect& Area, std::mt19937& Random) {
  std::uniform_int_distribution<int> Sign(0, 1);
  const int Dx = (Sign(Random) ? 1 : -1) * Side / 3, Dy = (Sign(Random) ? 1 : -1) * Side / 4;
  const cv::Rect From = Area + cv::Point(Dx, Dy);
  return Blend(Picture(Area), Picture(From), SoftEllipse(Area.size(), 0.9));
}

// A detail from elsewhere in the picture, blended in.
cv::Mat Clone(const cv::Mat& Picture, const cv::Rect& Area, std::mt19937& Random) {
  std::vector<Spot> From = Spots(Picture);
  From.erase(std::remove_if(From.begin(), From.end(),
                            [&](const Spot& S) { return cv::norm(S.Area.tl() - Area.tl()) < 2.5 * Side; }),
             From.end());
  if (From.empty()) return Picture(Area).clone();
  const Spot& Source = From[std::uniform_int_distribution<size_t>(0, std::min<size_t>(From.size(), 6) - 1)(Random)];
  const cv::Rect Inner(Block / 2, Block / 2, Side - Block, Side - Block);
  cv::Mat Mask = cv::Mat::zeros(Inner.size(), CV_8U);
  cv::ellipse(Mask, {Inner.width / 2, Inner.height / 2}, {Inner.width / 2 - 1, Inner.height / 2 - 1}, 0, 0, 360, 255,
              cv::FILLED);
  cv::Mat Result;
  const cv::Point Centre = (Area.tl() + Area.br()) / 2;
  cv::seamlessClone(Picture(Source.Area)(Inner), Picture, Mask, Centre, Result, cv::NORMAL_CLONE);
  return Result(Area).clone();
}

cv::Mat Resize(const cv::Mat& Picture, const cv::Rect& Area, std::mt19937& Random) {
  const bool Grow = std::uniform_int_distribution<int>(0, 1)(Random) == 1;
  cv::Mat Changed;
  if (Grow) {
    const int Part = Side * 5 / 8, Offset = (Side - Part) / 2;
    cv::resize(Picture(Area)(cv::Rect(Offset, Offset, Part, Part)), Changed, Area.size(), 0, 0, cv::INTER_CUBIC);
  } else {
    const cv::Rect Wider = (Area + cv::Size(2 * Block, 2 * Block)) - cv::Point(Block, Block);
    cv::resize(Picture(Wider), Changed, Area.size(), 0, 0, cv::INTER_AREA);
  }
  return Blend(Picture(Area), Changed, SoftEllipse(Area.size(), 0.9));
}

const std::array<std::pair<const char*, Maker>, 6> Makers = {{{"removed", Remove},
                                                              {"recoloured", Recolour},
                                                              {"mirrored", Mirror},
                                                              {"cloned", Clone},
                                                              {"resized", Resize},
                                                              {"moved", Move}}};

std::string Encode(const cv::Mat& Picture, const std::string& Extension) {
  std::vector<uchar> Bytes;
  cv::imencode(Extension, Picture, Bytes, {cv::IMWRITE_JPEG_QUALITY, JpegQuality});
  return {Bytes.begin(), Bytes.end()};
}

cv::Mat Decode(const std::string& Bytes) {
  return cv::imdecode(cv::Mat(1, int(Bytes.size()), CV_8U, const_cast<char*>(Bytes.data())), cv::IMREAD_COLOR);
}

// True when the decoded pair is identical outside the rectangles and each one shows its change.
bool Confined(const std::string& A, const std::string& B, const std::vector<Box>& Rects) {
  const cv::Mat Change = ChangeMap(Decode(A), Decode(B));
  cv::Mat Outside = Change.clone();
  for (const Box& R : Rects) {
    if (cv::countNonZero(Change(R.ToCv()) >= Strong) < TinyBelow) return false;
    Outside(R.ToCv()).setTo(0);
  }
  return cv::countNonZero(Outside) == 0;
}

}  // namespace

cv::Mat FitToLevel(const cv::Mat& Photo, bool Portrait) {
  const int W = Portrait ? LandscapeHeight : LandscapeWidth, H = Portrait ? LandscapeWidth : LandscapeHeight;
  const double Scale = std::max(double(W) / Photo.cols, double(H) / Photo.rows);
  cv::Mat Scaled;
  cv::resize(Photo, Scaled, {std::max(W, int(Photo.cols * Scale + 0.5)), std::max(H, int(Photo.rows * Scale + 0.5))},
             0, 0, Scale < 1 ? cv::INTER_AREA : cv::INTER_CUBIC);
  return Scaled(cv::Rect((Scaled.cols - W) / 2, (Scaled.rows - H) / 2, W, H)).clone();
}

MadeLevel MakeLevel(const cv::Mat& Picture, unsigned Seed) {
  MadeLevel Level;
  std::mt19937 Random(Seed);
  std::vector<Spot> All = Spots(Picture);
  // Flat sky and blur are never used; places well below the picture's richest only when
  // there are too few of those.
  All.erase(std::remove_if(All.begin(), All.end(), [&](const Spot& S) { return S.Structure < LeastDetail; }), All.end());
  if (All.empty()) {
    Level.Problem = "no place with enough detail for a visible difference";
    return Level;
  }
  const double Share = 0.3 * All[std::min<size_t>(All.size() - 1, 9)].Structure;
  std::vector<Spot> Rich = All;
  Rich.erase(std::remove_if(Rich.begin(), Rich.end(), [&](const Spot& S) { return S.Structure < Share; }), Rich.end());
  const std::vector<Spot>* Lists[] = {&Rich, &All};
  cv::Mat Modified = Picture.clone();
  std::vector<cv::Rect> Taken;
  // Far apart first; closer only when the picture has too little structure elsewhere.
  for (const std::vector<Spot>* Candidates : Lists) {
    for (const double Spread : {2.2 * Side, 1.8 * Side, 1.4 * Side, 1.05 * Side}) {
      for (const Spot& S : *Candidates) {
        if (Taken.size() == 5) break;
        const cv::Point Centre = (S.Area.tl() + S.Area.br()) / 2;
        const cv::Rect Apart = (S.Area + cv::Size(2 * Block, 2 * Block)) - cv::Point(Block, Block);
        if (std::any_of(Taken.begin(), Taken.end(), [&](const cv::Rect& T) {
              return cv::norm(Centre - (T.tl() + T.br()) / 2) < Spread || !(Apart & T).empty();
            }))
          continue;
        // Each level starts its kinds elsewhere, so a pack uses every kind evenly.
        for (size_t Try = 0; Try < Makers.size(); ++Try) {
          const auto& [Kind, Make] = Makers[(Seed + Taken.size() + Try) % Makers.size()];
          const cv::Mat Changed = Make(Picture, S.Area, Random);
          if (cv::countNonZero(ChangeMap(Softened(Changed), Softened(Picture(S.Area))) >= Strong) < WantPlain)
            continue;
          Changed.copyTo(Modified(S.Area));
          Taken.push_back(S.Area);
          Level.Kinds.push_back(Kind);
          break;
        }
      }
    }
  }
  if (Taken.size() < 5) {
    Level.Problem = "only " + std::to_string(Taken.size()) + " places with enough detail for a visible difference";
    return Level;
  }
  for (const cv::Rect& T : Taken)
    Level.Rects.push_back({std::max(0, T.x - 1), std::max(0, T.y - 1), std::min(Picture.cols - 1, T.x + Side),
                           std::min(Picture.rows - 1, T.y + Side)});
  for (const char* Extension : {".jpg", ".bmp"}) {
    Level.Extension = Extension;
    Level.OriginalBytes = Encode(Picture, Extension);
    Level.ModifiedBytes = Encode(Modified, Extension);
    if (Confined(Level.OriginalBytes, Level.ModifiedBytes, Level.Rects)) return Level;
  }
  Level.Problem = "the differences do not stay inside their rectangles";
  return Level;
}

PhotoPack MakePhotoPack(const std::vector<std::string>& Photos, const std::string& Name, bool Portrait,
                        const std::string& Folder) {
  PhotoPack Pack;
  const auto Write = [&](const std::string& Entry, const std::string& Bytes) {
    std::ofstream(Folder + "/" + Entry, std::ios::binary) << Bytes;
    Pack.Entries.push_back({Entry, Folder + "/" + Entry});
  };
  std::string PicInfo;
  for (size_t I = 0; I < Photos.size(); ++I) {
    cv::Mat Photo;
    try {
      Photo = cv::imread(Photos[I], cv::IMREAD_COLOR);
    } catch (const cv::Exception&) {
    }
    if (Photo.empty()) {
      Pack.Problem = Photos[I] + ": not a picture that can be read";
      return Pack;
    }
    const MadeLevel Level = MakeLevel(FitToLevel(Photo, Portrait), unsigned(I + 1));
    if (!Level.Problem.empty()) {
      Pack.Problem = Photos[I] + ": " + Level.Problem;
      return Pack;
    }
    const std::string N = std::to_string(I + 1);
    Write(N + Level.Extension, Level.OriginalBytes);
    Write(N + "x" + Level.Extension, Level.ModifiedBytes);
    PicInfo += "[" + N + "]\n" + PicInfoLines(Level.Rects) + "PicInfo=" +
               ini::OneLine(std::filesystem::path(Photos[I]).stem().string()) + "[e]Prona\xC4\x91i pet razlika.\n";
    std::string Made = "level " + N + ": " + Photos[I] + " (" + Level.Extension.substr(1) + "):";
    for (const std::string& Kind : Level.Kinds) Made += " " + Kind;
    Pack.Levels.push_back(Made);
  }
  Write("picinfo.ini", PicInfo);
  Write("packinfo.ini", "[General]\nNumOfLevels=" + std::to_string(Photos.size()) + "\nVertical=" +
                            (Portrait ? "True" : "False") + "\nPackInfo=" + ini::OneLine(Name) + "\n");
  // An empty table: the game then has a working copy to store at shutdown.
  Write("hscore.ini", "[scores]\n");
  return Pack;
}

}  // namespace pikora::packtool
