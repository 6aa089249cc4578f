// The colour check of the six default styles (styles 0 to 5, the colours of a new player).
#include "colour_check.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "pixel_font.h"
#include "tiles.h"
#include "tools/colours/colour_vision.h"

namespace cv = colour_vision;

namespace {

constexpr int Default_Styles = 6;
constexpr int Lone_Block_Frame = 29;

// A style's colour as a whole: the mean of its lone block's pixels in linear light, weighted by
// their cover, back in sRGB. Stripes and dots of two tints average as the eye does from afar.
cv::Rgb MeanColour(const Picture& sheet) {
  double sum[3] = {0, 0, 0}, weight = 0;
  for (int y = 0; y < QUARTER; y++) {
    for (int x = Lone_Block_Frame * QUARTER; x < (Lone_Block_Frame + 1) * QUARTER; x++) {
      float a = sheet.AlphaAt(x, y);
      Rgb c = sheet.ColourAt(x, y);
      sum[0] += a * cv::ToLinear(c.R);
      sum[1] += a * cv::ToLinear(c.G);
      sum[2] += a * cv::ToLinear(c.B);
      weight += a;
    }
  }
  cv::Rgb mean;
  for (int k = 0; k < 3; k++) mean[k] = cv::ToSrgb(weight > 0 ? sum[k] / weight : 0);
  return mean;
}

std::string Upper(std::string s) {
  for (char& c : s) c = c == '_' ? ' ' : char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The six blocks in a row for each way of seeing, each pixel turned as the player sees it.
Picture ContactPicture() {
  const auto& styles = TileStyles();
  const int cell = 96, gap = 24, label_w = 260, row_h = cell + 2 * gap;
  const cv::Deficiency rows[] = {cv::Normal, cv::Deuteranopia, cv::Protanopia, cv::Tritanopia};
  Picture pic(label_w + Default_Styles * (cell + gap) + gap, 4 * row_h);
  for (int r = 0; r < 4; r++) {
    Picture row(pic.W, row_h);
    row.Fill(Hex(0x3a3a40), 1);
    for (int k = 0; k < Default_Styles; k++) {
      DrawBlockCells(row, {"#"}, float(label_w + gap + k * (cell + gap)), float(gap), float(cell), styles[k], 0.45f);
    }
    for (int y = 0; y < row.H; y++) {
      for (int x = 0; x < row.W; x++) {
        Rgb c = row.ColourAt(x, y);
        cv::Rgb seen = cv::Simulate({c.R, c.G, c.B}, rows[r]);
        pic.Set(x, r * row_h + y, Rgb{float(seen[0]), float(seen[1]), float(seen[2])}, 1);
      }
    }
    std::string label = Upper(cv::DeficiencyName(rows[r]));
    DrawWord(pic, label, label_w / 2.0f, r * row_h + row_h / 2.0f, 2.4f, 2.4f, Hex(0xf0ecff), Hex(0x101010), 1, 0.4f);
  }
  return pic;
}

}  // namespace

bool RunColourCheck(const std::string& contact_png) {
  const auto& styles = TileStyles();
  std::vector<cv::Rgb> colours;
  for (int k = 0; k < Default_Styles; k++) colours.push_back(MeanColour(RenderTileSheet(styles[k])));
  std::printf("The six default styles, simulated after Machado, Oliveira and Fernandes (2009), severity 1.0;\n"
              "differences in CIEDE2000.\n\n");
  for (int k = 0; k < Default_Styles; k++) {
    std::printf("  colour %d  %-20s  #%02X%02X%02X\n", k, styles[k].Sheet.c_str(), int(std::lround(colours[k][0] * 255)),
                int(std::lround(colours[k][1] * 255)), int(std::lround(colours[k][2] * 255)));
  }
  std::printf("\n");
  for (int d = 0; d < cv::Deficiency_Count; d++) {
    cv::ClosestPair pair = cv::Closest(colours, cv::Deficiency(d));
    std::printf("  %-14s smallest difference %5.1f  (colours %d and %d: %s, %s)\n", cv::DeficiencyName(cv::Deficiency(d)),
                pair.Difference, pair.First, pair.Second, styles[pair.First].Sheet.c_str(), styles[pair.Second].Sheet.c_str());
  }
  if (contact_png.empty()) return true;
  if (!SavePng(ContactPicture(), contact_png)) {
    std::fprintf(stderr, "Can't write %s\n", contact_png.c_str());
    return false;
  }
  return true;
}
