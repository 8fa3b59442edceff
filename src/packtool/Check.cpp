#include "packtool/Check.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "engine/PictureReader.h"

namespace pikora::packtool {

namespace {

// Fewer plainly changed pixels than this, clumped together, a player does not see.
constexpr int MinVisible = 4;

bool IsJpeg(const std::string& Entry) { return Entry.size() > 4 && Entry.compare(Entry.size() - 4, 4, ".jpg") == 0; }

std::string At(int X, int Y) { return std::to_string(X) + "," + std::to_string(Y); }

// JPEG codes 16 x 16 blocks and smooths colour over one more pixel: a change inside a
// rectangle may move pixels that far outside it without anyone seeing it.
Box JpegCover(const Box& B, int Width, int Height) {
  return {std::max(0, B.Left / 16 * 16 - 1), std::max(0, B.Top / 16 * 16 - 1),
          std::min(Width - 1, (B.Right / 16 + 1) * 16), std::min(Height - 1, (B.Bottom / 16 + 1) * 16)};
}

}  // namespace

Box PixelsOf(const Rect& R) {
  const auto Clamp = [](double V) { return int(std::clamp(V, -1e6, 1e6)); };
  return {Clamp(std::ceil(R.Left)), Clamp(std::ceil(R.Top)), Clamp(std::floor(R.Right)), Clamp(std::floor(R.Bottom))};
}

std::string Describe(const Box& B) {
  return "(" + std::to_string(B.Left) + ".." + std::to_string(B.Right) + ", " + std::to_string(B.Top) + ".." +
         std::to_string(B.Bottom) + ")";
}

cv::Mat ChangeMap(const cv::Mat& A, const cv::Mat& B) {
  cv::Mat Diff;
  cv::absdiff(A, B, Diff);
  if (Diff.channels() == 1) return Diff;
  cv::Mat Max = Diff.reshape(1, int(Diff.total()));
  cv::reduce(Max, Max, 1, cv::REDUCE_MAX);
  return Max.reshape(1, A.rows);
}

cv::Mat DecodeLevelPicture(const std::string& Entry, const std::string& Bytes, bool Vertical,
                           std::vector<Finding>& Findings) {
  const int W = Vertical ? LandscapeHeight : LandscapeWidth, H = Vertical ? LandscapeWidth : LandscapeHeight;
  const auto Refuse = [&](const std::string& Text) {
    Findings.push_back({Severity::Error, Entry, 0, Text});
    return cv::Mat();
  };
  // The size comes from the game's header reader, so a picture claiming gigapixels is never
  // decoded; what it cannot read at all the game's check has reported.
  PictureHeader Header;
  if (!ReadPictureHeader(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size(), Header)) return {};
  if (Header.Width != W || Header.Height != H)
    return Refuse("is " + std::to_string(Header.Width) + " x " + std::to_string(Header.Height) + "; a " +
                  (Vertical ? "portrait" : "landscape") + " pack needs " + std::to_string(W) + " x " +
                  std::to_string(H));
  if (Header.Format != (IsJpeg(Entry) ? PictureFormat::Jpeg : PictureFormat::Bmp))
    Findings.push_back({Severity::Warning, Entry, 0, "its content does not match its name's extension"});
  if (Header.Format == PictureFormat::Dds) return Refuse("a DDS picture, which this tool cannot compare");
  cv::Mat Picture;
  try {
    Picture = cv::imdecode(cv::Mat(1, int(Bytes.size()), CV_8U, const_cast<char*>(Bytes.data())), cv::IMREAD_COLOR);
  } catch (const cv::Exception&) {
    Picture.release();
  }
  if (Picture.empty() || Picture.cols != W || Picture.rows != H) return Refuse("cannot be decoded");
  return Picture;
}

std::vector<Finding> CheckLevelPictures(const LevelData& Level, const cv::Mat& Original, const cv::Mat& Modified) {
  std::vector<Finding> Out;
  const std::string N = std::to_string(Level.Number);
  const std::string Pair = Level.Original + " and " + Level.Modified;
  const auto Say = [&](Severity Kind, int K, const std::string& Text) {
    Out.push_back({Kind, "picinfo.ini", K ? Level.RectLines[size_t(K - 1)] : 0,
                   "level " + N + (K ? ", difference " + std::to_string(K) : std::string()) + ": " + Text});
  };
  const int W = Original.cols, H = Original.rows;
  std::vector<Box> Boxes;
  for (int K = 1; K <= 5; ++K) {
    const Box B = PixelsOf(Level.Rects[size_t(K - 1)]);
    if (B.Empty()) {
      Say(Severity::Error, K, "rectangle " + Describe(B) + " holds no pixel: a right or bottom edge before its left or top");
      return Out;
    }
    if (B.Left < 0 || B.Top < 0 || B.Right >= W || B.Bottom >= H) {
      Say(Severity::Error, K, "rectangle " + Describe(B) + " reaches outside the " + std::to_string(W) + " x " +
                                  std::to_string(H) + " picture");
      return Out;
    }
    Boxes.push_back(B);
  }
  for (size_t I = 0; I < Boxes.size(); ++I)
    for (size_t J = I + 1; J < Boxes.size(); ++J)
      if (!(Boxes[I].ToCv() & Boxes[J].ToCv()).empty())
        Say(Severity::Warning, int(J + 1), "its rectangle overlaps that of difference " + std::to_string(I + 1) +
                                               ": one click finds both");

  const cv::Mat Change = ChangeMap(Original, Modified);
  for (int K = 1; K <= 5; ++K) {
    const cv::Mat Inside = Change(Boxes[size_t(K - 1)].ToCv());
    double Largest = 0;
    cv::minMaxLoc(Inside, nullptr, &Largest);
    const int Changed = cv::countNonZero(Inside > Noise), Plain = cv::countNonZero(Inside >= Strong);
    const std::string Where = " inside " + Describe(Boxes[size_t(K - 1)]) + " between " + Pair;
    if (Changed < MinVisible)
      Say(Severity::Error, K, "no visible change" + Where + ": the level cannot be won fairly");
    else if (Plain < MinVisible)
      Say(Severity::Warning, K, "faint: no channel moves by more than " + std::to_string(int(Largest)) + Where);
    else if (Plain < TinyBelow)
      Say(Severity::Warning, K, "tiny: only " + std::to_string(Plain) + " pixels change plainly" + Where);
  }

  // Outside the rectangles the pair must be identical; JPEG may blur a little across the edge.
  cv::Mat Inside = cv::Mat::zeros(Change.size(), CV_8U), Cover = cv::Mat::zeros(Change.size(), CV_8U);
  for (const Box& B : Boxes) {
    Inside(B.ToCv()).setTo(255);
    Cover((IsJpeg(Level.Original) ? JpegCover(B, W, H) : B).ToCv()).setTo(255);
  }
  cv::Mat Plain = (Change >= Strong) & ~Inside;
  cv::Mat Labels, Stats, Centres;
  const int Count = cv::connectedComponentsWithStats(Plain, Labels, Stats, Centres, 8);
  int Reported = 0, Hidden = 0;
  for (int C = 1; C < Count; ++C) {
    if (Stats.at<int>(C, cv::CC_STAT_AREA) < MinVisible) continue;
    if (Reported == 3) {
      ++Hidden;
      continue;
    }
    const int X = Stats.at<int>(C, cv::CC_STAT_LEFT), Y = Stats.at<int>(C, cv::CC_STAT_TOP);
    const Box B{X, Y, X + Stats.at<int>(C, cv::CC_STAT_WIDTH) - 1, Y + Stats.at<int>(C, cv::CC_STAT_HEIGHT) - 1};
    Say(Severity::Error, 0, "a visible change outside the rectangles at " + Describe(B) + " between " + Pair +
                                ": a player who clicks it loses time");
    ++Reported;
  }
  if (Hidden) Say(Severity::Error, 0, std::to_string(Hidden) + " more visible changes outside the rectangles");
  const cv::Mat Faint = (Change > 0) & ~Inside & ~(Cover & (Change < Strong));
  if (const int Pixels = cv::countNonZero(Faint); Pixels > 0 && Reported == 0) {
    std::vector<cv::Point> Where;
    cv::findNonZero(Faint, Where);
    double Largest = 0;
    cv::minMaxLoc(Change, nullptr, &Largest, nullptr, nullptr, Faint);
    Say(Severity::Warning, 0, Pair + " are not identical outside the rectangles: " + std::to_string(Pixels) +
                                  " pixels differ by up to " + std::to_string(int(Largest)) + ", the first at " +
                                  At(Where.front().x, Where.front().y));
  }
  return Out;
}

std::vector<Finding> CheckPack(const PackData& Pack) {
  std::vector<Finding> Out = Pack.Findings;
  for (const LevelData& Level : Pack.LevelList) {
    // A picture the game refuses has been named already.
    if (std::any_of(Pack.Findings.begin(), Pack.Findings.end(), [&](const Finding& F) {
          return F.Kind == Severity::Error && (F.Entry == Level.Original || F.Entry == Level.Modified);
        }))
      continue;
    const cv::Mat A = DecodeLevelPicture(Level.Original, Level.OriginalBytes, Pack.Vertical, Out);
    const cv::Mat B = DecodeLevelPicture(Level.Modified, Level.ModifiedBytes, Pack.Vertical, Out);
    if (A.empty() || B.empty()) continue;
    const std::vector<Finding> More = CheckLevelPictures(Level, A, B);
    Out.insert(Out.end(), More.begin(), More.end());
  }
  return Out;
}

std::string FormatFinding(const std::string& File, const Finding& F) {
  std::string Text = File + ": ";
  if (!F.Entry.empty()) Text += F.Entry + (F.Line ? ":" + std::to_string(F.Line) : std::string()) + ": ";
  return Text + (F.Kind == Severity::Error ? "error: " : "warning: ") + F.Text;
}

bool HasErrors(const std::vector<Finding>& Findings) {
  return std::any_of(Findings.begin(), Findings.end(), [](const Finding& F) { return F.Kind == Severity::Error; });
}

}  // namespace pikora::packtool
