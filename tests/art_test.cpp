// The game's own art and music as the player meets them: every style's blocks drawn by the
// board's drawing on the software renderer join without a seam at every cell size; labels
// read well on every style; the six default colours stay apart for colour-blind players; the
// music loops are long enough and loop without a jump.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "app/assets.h"
#include "app/display.h"
#include "app/sidebar.h"
#include "platform/headless.h"
#include "tests/board_fixture.h"
#ifdef QUARK_HAVE_COLOUR_VISION
#include "tools/colours/colour_vision.h"
#endif

namespace {

constexpr int Background = 0xFF00FF;   // a colour no tile uses

int Channel(int c, int shift) { return (c >> shift) & 255; }
int Distance(int a, int b) {
  int d = 0;
  for (int s : {16, 8, 0}) d = std::max(d, std::abs(Channel(a, s) - Channel(b, s)));
  return d;
}

class ArtDrawing : public BoardTest {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
    OpenDisplay(Display_Sizes[0].Width, Display_Sizes[0].Height, 0, 60);
    LoadStyleSheets();
    Img_Shadows = LoadImageStrip(u"incbin::Data/qUaRk_fx_shadows.png", 48, 48, 0, 28);
  }
  void SetUp() override {
    BoardTest::SetUp();
    ASSERT_NE(ReadPixel(0, 0), -1) << "no display";
    SetOrigin(0, 0);
    SetViewport(0, 0, Display_Sizes[0].Width, Display_Sizes[0].Height);
    SetScale(1, 1);
    SetAlpha(1);
  }
  static void Blank() {
    SetBlend(BLEND_SOLID);
    SetColour(255, 0, 255);
    DrawRect(0, 0, float(Display_Sizes[0].Width), float(Display_Sizes[0].Height));
    SetColour(255, 255, 255);
  }
};

// Two blocks side by side (and one above the other) at cell (2, 2): across the joint, in the
// middle half of its length, no pixel shows the background and no line along the joint stands
// out from its neighbours more than the material's own lines inside the two cells do.
TEST_F(ArtDrawing, JoinedBlocksShowNoSeamInAnyStyleAtAnyCellSize) {
  for (int size = 0; size < Display_Size_Count; size++) {
    int cell = Display_Sizes[size].Cell;
    Block_Size = cell;
    Half_Block = cell / 2;
    for (int style = 0; style < Style_Sheet_Count; style++) {
      User_Style[0] = style;
      for (int vertical = 0; vertical < 2; vertical++) {
        SCOPED_TRACE(testing::Message() << "style " << style << " cell " << cell << (vertical ? " vertical" : " horizontal"));
        Blank();
        Lay(vertical ? std::vector<std::string>{"", "", "..0", "..0"} : std::vector<std::string>{"", "", "..00"});
        T_BLOCK::DrawAll();
        // Pixel at `along` on the joint's length and `across` from the joint.
        auto pixel = [&](int along, int across) {
          return vertical ? ReadPixel(2 * cell + along, 3 * cell + across) : ReadPixel(3 * cell + across, 2 * cell + along);
        };
        // Mean step between two neighbouring lines parallel to the joint: a seam line makes the
        // lines at its edges differ all along, a pattern only here and there.
        auto line_step = [&](int across) {
          double sum = 0;
          for (int along = cell / 4; along < cell * 3 / 4; along++) sum += Distance(pixel(along, across), pixel(along, across + 1));
          return sum / (cell / 2);
        };
        double inner_step = 0, worst = 0;   // the material's own, well away from the joint and the rims
        for (int across = -cell * 3 / 4; across < cell * 3 / 4; across++)
          if (across < -4 || across > 3) inner_step = std::max(inner_step, line_step(across));
        int background = 0;
        for (int across = -3; across <= 2; across++) {
          worst = std::max(worst, line_step(across));
          for (int along = cell / 4; along < cell * 3 / 4; along++)
            if (Distance(pixel(along, across), Background) < 40) background++;
        }
        EXPECT_EQ(background, 0);
        EXPECT_LE(worst, inner_step * 1.2 + 6) << "the material's own lines step up to " << inner_step;
      }
    }
  }
}

double Linear(int c) {
  double v = c / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// White labels need a dark tile, black ones a light tile: at least 3:1 against the average
// colour of the plain inside, the contrast large bold text needs.
TEST_F(ArtDrawing, PlainInsideSuitsTheStyleLabelColour) {
  for (int style = 0; style < Style_Sheet_Count; style++) {
    Blank();
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int frame = 24; frame < 28; frame++) {
      DrawImage(Style_Images[style], 0, 0, frame);
      for (int y = 0; y < 48; y++)
        for (int x = 0; x < 48; x++) {
          int c = ReadPixel(x, y);
          r += Linear(Channel(c, 16)), g += Linear(Channel(c, 8)), b += Linear(Channel(c, 0));
          n++;
        }
    }
    double lum = (0.2126 * r + 0.7152 * g + 0.0722 * b) / n;
    double contrast = Style_Light_Text[style] ? 1.05 / (lum + 0.05) : (lum + 0.05) / 0.05;
    EXPECT_GE(contrast, 3.0) << "style " << style << " luminance " << lum << (Style_Light_Text[style] ? " under white" : " under black");
  }
}

#ifdef QUARK_HAVE_COLOUR_VISION
// The difference formula against published pairs (Sharma, Wu and Dalal 2005, pairs 1, 7, 17,
// 25 and 31), then the six colours a new player gets, as drawn, under each simulated
// deficiency: every pair at least 15 apart (CIEDE2000), where the first defaults had a light
// mandarine 8 from the lime for deuteranopes and 4 from the candy red for tritanopes.
TEST_F(ArtDrawing, TheSixDefaultColoursStayApartForColourBlindPlayers) {
  namespace cv = colour_vision;
  struct Pair {
    std::array<double, 3> a, b;
    double e;
  } pairs[] = {
      {{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
      {{50, 0, 0}, {50, -1, 2}, 2.3669},
      {{50, 2.5, 0}, {73, 25, -18}, 27.1492},
      {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
      {{90.8027, -2.0831, 1.4410}, {91.1528, -1.6435, 0.0447}, 1.4441},
  };
  for (const Pair& p : pairs) EXPECT_NEAR(cv::DeltaE2000Lab(p.a, p.b), p.e, 1e-4) << p.e;
  EXPECT_LT(cv::DeltaE2000(cv::Simulate({0.8, 0.3, 0.2}, cv::Deuteranopia), cv::Simulate({0.45, 0.45, 0.1}, cv::Deuteranopia)),
            cv::DeltaE2000({0.8, 0.3, 0.2}, {0.45, 0.45, 0.1}) / 2)
      << "red and olive green are near twins to a deuteranope";

  SetDefaultStyles();
  std::vector<cv::Rgb> colours;
  for (int k = 0; k < 6; k++) {
    Blank();
    DrawImage(Style_Images[User_Style[k]], 0, 0, 29);   // the whole small block
    double sum[3] = {0, 0, 0};
    int n = 0;
    for (int y = 0; y < 48; y++) {
      for (int x = 0; x < 48; x++) {
        int c = ReadPixel(x, y);
        if (c == Background) continue;
        for (int ch = 0; ch < 3; ch++) sum[ch] += Linear(Channel(c, 16 - 8 * ch));
        n++;
      }
    }
    ASSERT_GT(n, 1000) << "colour " << k;
    colours.push_back({cv::ToSrgb(sum[0] / n), cv::ToSrgb(sum[1] / n), cv::ToSrgb(sum[2] / n)});
  }
  for (int d = 0; d < cv::Deficiency_Count; d++) {
    cv::ClosestPair pair = cv::Closest(colours, cv::Deficiency(d));
    EXPECT_GE(pair.Difference, 15.0) << cv::DeficiencyName(cv::Deficiency(d)) << ": colours " << pair.First << " and "
                                     << pair.Second;
  }
}
#endif

// The TIME icon's digits fill the height of their 10 x 16 frames, so each figure stands 16
// pixels high on the icon at every size; and the hands' pictures stay within the extent the
// tutorial keeps its text out of.
TEST_F(ArtDrawing, TimeDigitsAre16PixelsHighAndHandsStayWithinTheirExtent) {
  Image* digits = LoadImageStrip(u"incbin::Data/qUaRk_chiffres_10x16.png", 10, 16, 0, 10);
  ASSERT_NE(digits, nullptr);
  for (int d = 0; d < 10; d++) {
    Blank();
    SetBlend(BLEND_ALPHA);
    DrawImage(digits, 0, 0, d);
    int first = -1, last = -1;
    for (int y = 0; y < 16; y++) {
      for (int x = 0; x < 10; x++) {
        if (Distance(ReadPixel(x, y), Background) > 96) {
          if (first < 0) first = y;
          last = y;
        }
      }
    }
    EXPECT_GE(last - first + 1, 16) << "digit " << d;
  }
  FreeImage(digits);
  for (const char16_t* name : {u"incbin::Data/souris_curseur_1.png", u"incbin::Data/souris_curseur_2.png"}) {
    Image* hand = LoadImage(name);
    ASSERT_NE(hand, nullptr);
    Blank();
    const int tip_x = 300, tip_y = 300;
    SetBlend(BLEND_ALPHA);
    DrawImage(hand, tip_x - 85, tip_y - 50);
    int outside = 0;
    for (int y = 0; y < 600; y++) {
      for (int x = 0; x < 600; x++) {
        const bool within = x >= tip_x - Hand_Extent.Left && x < tip_x + Hand_Extent.Right &&
                            y >= tip_y - Hand_Extent.Up && y < tip_y + Hand_Extent.Down;
        if (!within && Distance(ReadPixel(x, y), Background) > 8) outside++;
      }
    }
    EXPECT_EQ(outside, 0) << ToUtf8(name);
    FreeImage(hand);
  }
}

struct Decoded {
  std::vector<int16_t> Samples;   // interleaved
  int Rate = 0, Channels = 0;
};

Decoded DecodeOgg(const std::string& path) {
  Decoded d;
  OggVorbis_File vf;
  if (ov_fopen(path.c_str(), &vf) != 0) return d;
  vorbis_info* info = ov_info(&vf, -1);
  d.Rate = int(info->rate);
  d.Channels = info->channels;
  char buffer[8192];
  int section = 0;
  long got;
  while ((got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section)) > 0) {
    const int16_t* s = reinterpret_cast<const int16_t*>(buffer);
    d.Samples.insert(d.Samples.end(), s, s + got / 2);
  }
  ov_clear(&vf);
  return d;
}

TEST(MusicFiles, TracksAreLongStereoLoopsThatJoinWithoutAJumpOrClipping) {
  for (const char* name : {"Quark_Menu.ogg", "Quark_InGame.ogg", "Quark_Tuto.ogg"}) {
    SCOPED_TRACE(name);
    Decoded d = DecodeOgg(std::string(QUARK_SOURCE_DIR) + "/Data/" + name);
    ASSERT_EQ(d.Rate, 44100);
    ASSERT_EQ(d.Channels, 2);
    size_t frames = d.Samples.size() / 2;
    EXPECT_GE(double(frames) / d.Rate, 90.0);
    for (int c = 0; c < 2; c++) {
      std::vector<int> steps;
      int peak = 0;
      for (size_t i = 0; i + 1 < frames; i++) {
        steps.push_back(std::abs(d.Samples[(i + 1) * 2 + c] - d.Samples[i * 2 + c]));
        peak = std::max(peak, std::abs(int(d.Samples[i * 2 + c])));
      }
      std::sort(steps.begin(), steps.end());
      int normal = steps[steps.size() * 999 / 1000];
      // From the last sample back to the first, and the few steps around the loop point.
      int jump = std::abs(d.Samples[c] - d.Samples[(frames - 1) * 2 + c]);
      EXPECT_LE(jump, normal) << "channel " << c << ", normal step " << normal;
      EXPECT_LT(peak, 32000) << "channel " << c;
      EXPECT_GT(peak, 8000) << "channel " << c << ": too quiet";
    }
  }
}

}  // namespace
