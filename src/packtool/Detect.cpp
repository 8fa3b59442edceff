#include "packtool/Detect.h"

#include <algorithm>
#include <limits>
#include <opencv2/imgproc.hpp>

namespace pikora::packtool {

namespace {

int GapBetween(const Box& A, const Box& B) {
  const int Dx = std::max({0, A.Left - B.Right, B.Left - A.Right});
  const int Dy = std::max({0, A.Top - B.Bottom, B.Top - A.Bottom});
  return std::max(Dx, Dy);
}

void ReadingOrder(std::vector<Box>& Boxes) {
  std::sort(Boxes.begin(), Boxes.end(),
            [](const Box& A, const Box& B) { return std::pair(A.Top, A.Left) < std::pair(B.Top, B.Left); });
}

}  // namespace

Detection DetectDifferences(const cv::Mat& Original, const cv::Mat& Modified, const DetectOptions& Options) {
  Detection Out;
  if (Original.size() != Modified.size()) {
    Out.Problem = "the pictures differ in size";
    return Out;
  }
  const cv::Mat Changed = ChangeMap(Original, Modified) > Options.Threshold;
  // Joining nearby changes first keeps one painted object with a broken outline together.
  cv::Mat Joined;
  const int Reach = std::max(0, Options.Gap / 2);
  cv::dilate(Changed, Joined, cv::getStructuringElement(cv::MORPH_RECT, {2 * Reach + 1, 2 * Reach + 1}));
  cv::Mat Labels, Stats, Centres;
  const int Count = cv::connectedComponentsWithStats(Joined, Labels, Stats, Centres, 8);
  for (int C = 1; C < Count; ++C) {
    cv::Rect R(Stats.at<int>(C, cv::CC_STAT_LEFT), Stats.at<int>(C, cv::CC_STAT_TOP),
               Stats.at<int>(C, cv::CC_STAT_WIDTH), Stats.at<int>(C, cv::CC_STAT_HEIGHT));
    cv::Mat Own = Changed(R) & (Labels(R) == C);
    if (cv::countNonZero(Own) < Options.MinPixels) continue;
    const cv::Rect Tight = cv::boundingRect(Own) + R.tl();
    Out.Regions.push_back({Tight.x, Tight.y, Tight.x + Tight.width - 1, Tight.y + Tight.height - 1});
  }
  ReadingOrder(Out.Regions);
  if (Out.Regions.size() < 5) {
    Out.Problem = "found " + std::to_string(Out.Regions.size()) + " separate change" +
                  (Out.Regions.size() == 1 ? "" : "s") + ", a level needs five";
    for (const Box& B : Out.Regions) Out.Problem += "; one at " + Describe(B);
    return Out;
  }
  // The two closest regions become one until five are left.
  std::vector<Box> Merged = Out.Regions;
  while (Merged.size() > 5) {
    size_t BestI = 0, BestJ = 1;
    int Best = std::numeric_limits<int>::max();
    for (size_t I = 0; I < Merged.size(); ++I)
      for (size_t J = I + 1; J < Merged.size(); ++J)
        if (const int G = GapBetween(Merged[I], Merged[J]); G < Best) Best = G, BestI = I, BestJ = J;
    Box& A = Merged[BestI];
    const Box& B = Merged[BestJ];
    A = {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right), std::max(A.Bottom, B.Bottom)};
    Merged.erase(Merged.begin() + long(BestJ));
  }
  for (Box& B : Merged)
    B = {std::max(0, B.Left - Options.Pad), std::max(0, B.Top - Options.Pad),
         std::min(Original.cols - 1, B.Right + Options.Pad), std::min(Original.rows - 1, B.Bottom + Options.Pad)};
  ReadingOrder(Merged);
  Out.Rects = Merged;
  return Out;
}

std::string PicInfoLines(const std::vector<Box>& Rects) {
  std::string Text;
  for (size_t K = 0; K < Rects.size(); ++K) {
    const std::string P = std::to_string(K + 1);
    Text += P + "Left=" + std::to_string(Rects[K].Left) + "\n" + P + "Right=" + std::to_string(Rects[K].Right) + "\n" +
            P + "Top=" + std::to_string(Rects[K].Top) + "\n" + P + "Bottom=" + std::to_string(Rects[K].Bottom) + "\n";
  }
  return Text;
}

}  // namespace pikora::packtool
