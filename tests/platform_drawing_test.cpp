// Drawing on the software renderer, checked by reading pixels back: viewport and origin,
// clearing, blend modes, scale, pictures (transparent black, strips, grabbing) and text.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/headless.h"
#include "platform/platform.h"
#include "tests/flat_images.h"

// Bumped by a test to stand for a renderer made anew (platform/internal.h).
extern uint64_t Renderer_Generation;

namespace {

constexpr int W = 120, H = 90;

int Red(int p) { return (p >> 16) & 0xFF; }
int Green(int p) { return (p >> 8) & 0xFF; }
int Blue(int p) { return p & 0xFF; }

// A pixel's colour within a rounding step of 2 per component.
#define EXPECT_PIXEL(x, y, r, g, b)                                              \
  do {                                                                           \
    int p_ = ReadPixel(x, y);                                                    \
    EXPECT_NEAR(Red(p_), r, 2) << "red at " << (x) << "," << (y);                \
    EXPECT_NEAR(Green(p_), g, 2) << "green at " << (x) << "," << (y);            \
    EXPECT_NEAR(Blue(p_), b, 2) << "blue at " << (x) << "," << (y);              \
  } while (0)

class PlatformDrawing : public testing::Test {
 protected:
  static void SetUpTestSuite() { EnterHeadlessMode(); }
  void SetUp() override {
    OpenDisplay(W, H, 0, 60);
    ASSERT_NE(ReadPixel(0, 0), -1) << "no display";
    SetOrigin(0, 0);
    SetViewport(0, 0, W, H);
    SetScale(1, 1);
    SetAlpha(1);
    SetBlend(BLEND_SOLID);
    SetClearColour(0, 0, 0);
    ClearViewport();
    SetColour(255, 255, 255);
    char tmpl[] = "/tmp/quark-drawing-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    Dir = tmpl;
  }
  void TearDown() override {
    SetFont(nullptr);
    std::system(("rm -rf '" + Dir + "'").c_str());
  }
  void Fill(int x, int y, int w, int h, int r, int g, int b) {
    SetBlend(BLEND_SOLID);
    SetColour(r, g, b);
    DrawRect(float(x), float(y), float(w), float(h));
  }
  // A picture file made by drawing and saving the presented frame: a red, a black and a green
  // 2 x 2 square side by side from the window's top-left corner.
  String MakePicture() {
    Fill(0, 0, W, H, 0, 0, 0);
    Fill(0, 0, 2, 2, 255, 0, 0);
    Fill(4, 0, 2, 2, 0, 255, 0);
    PresentFrame(1);
    String path = FromLatin1(Dir + "/pic.png");
    EXPECT_EQ(SaveLastFrame(path), 1);
    return path;
  }
  std::string Dir;
};

TEST_F(PlatformDrawing, ViewportIsInWindowCoordinatesEvenWithAnOrigin) {
  SetOrigin(50, 40);
  SetViewport(10, 10, 30, 20);   // not moved by the origin
  Fill(-50, -40, W, H, 255, 255, 255);
  EXPECT_PIXEL(10, 10, 255, 255, 255);
  EXPECT_PIXEL(39, 29, 255, 255, 255);
  EXPECT_PIXEL(40, 15, 0, 0, 0);
  EXPECT_PIXEL(15, 30, 0, 0, 0);
  EXPECT_PIXEL(9, 9, 0, 0, 0);
  // A draw at the origin lands at window (50, 40): outside this viewport, so nothing shows.
  SetViewport(0, 0, W, H);
  Fill(0, 0, 3, 3, 0, 0, 255);
  EXPECT_PIXEL(50, 40, 0, 0, 255);
  EXPECT_PIXEL(49, 39, 0, 0, 0);
}

TEST_F(PlatformDrawing, ClearFillsOnlyTheViewport) {
  Fill(0, 0, W, H, 0, 255, 0);
  SetOrigin(30, 30);   // the origin does not move the clear either
  SetViewport(20, 10, 10, 5);
  SetClearColour(255, 0, 0);
  ClearViewport();
  SetViewport(0, 0, W, H);
  EXPECT_PIXEL(20, 10, 255, 0, 0);
  EXPECT_PIXEL(29, 14, 255, 0, 0);
  EXPECT_PIXEL(30, 14, 0, 255, 0);
  EXPECT_PIXEL(29, 15, 0, 255, 0);
  EXPECT_PIXEL(19, 10, 0, 255, 0);
  EXPECT_PIXEL(35, 35, 0, 255, 0);
}

TEST_F(PlatformDrawing, BlendModesOfRectangles) {
  struct Case {
    int mode, r, g, b;
  } cases[] = {
      {BLEND_SOLID, 0, 0, 200},     // overwrite, alpha ignored
      {BLEND_ALPHA, 50, 20, 170},   // half of each
      {BLEND_LIGHT, 100, 40, 240},  // background + half the colour
  };
  for (const Case& c : cases) {
    Fill(0, 0, 10, 10, 100, 40, 140);
    SetBlend(c.mode);
    SetAlpha(0.5f);
    SetColour(0, 0, 200);
    DrawRect(0, 0, 10, 10);
    SetAlpha(1);
    EXPECT_PIXEL(5, 5, c.r, c.g, c.b);
  }
  // Additive light saturates instead of wrapping around.
  Fill(0, 0, 10, 10, 200, 0, 0);
  SetBlend(BLEND_LIGHT);
  SetColour(200, 0, 0);
  DrawRect(0, 0, 10, 10);
  EXPECT_PIXEL(5, 5, 255, 0, 0);
}

TEST_F(PlatformDrawing, ScaleGrowsFromTheDrawingPosition) {
  SetOrigin(30, 20);
  SetScale(2, 3);
  Fill(10, 10, 5, 5, 255, 0, 0);   // window x 40..49, y 30..44
  SetScale(1, 1);
  EXPECT_PIXEL(40, 30, 255, 0, 0);
  EXPECT_PIXEL(49, 44, 255, 0, 0);
  EXPECT_PIXEL(50, 30, 0, 0, 0);
  EXPECT_PIXEL(40, 45, 0, 0, 0);
  EXPECT_PIXEL(39, 29, 0, 0, 0);
  EXPECT_FLOAT_EQ(GetScaleX(), 1);
}

TEST_F(PlatformDrawing, PureBlackIsTransparentWithDefaultFlags) {
  String pic = MakePicture();
  Image* strip = LoadImageStrip(pic, 2, 2, 0, 3);
  Image* opaque = LoadImageStrip(pic, 2, 2, 0, 3, 0);
  Image* green = LoadImageStrip(pic, 2, 2, 2, 1);
  ASSERT_NE(strip, nullptr);
  ASSERT_NE(opaque, nullptr);
  ASSERT_NE(green, nullptr);
  EXPECT_EQ(ImageWidth(strip), 2);
  EXPECT_EQ(ImageHeight(strip), 2);
  EXPECT_EQ(ImageFrames(strip), 3);
  EXPECT_EQ(ImageFrames(green), 1);

  Fill(0, 0, W, H, 0, 0, 255);
  SetBlend(BLEND_ALPHA);
  SetColour(255, 255, 255);
  DrawImage(strip, 10, 10, 0);
  DrawImage(strip, 20, 10, 1);    // black: nothing shows
  DrawImage(opaque, 30, 10, 1);   // without the mask black is drawn
  DrawImage(green, 40, 10);       // the strip started at frame 2
  DrawImage(strip, 50, 10, 7);    // no such frame: nothing, no crash
  SetBlend(BLEND_SOLID);
  DrawImage(strip, 60, 10, 1);    // solid overwrites, transparent or not
  EXPECT_PIXEL(11, 11, 255, 0, 0);
  EXPECT_PIXEL(21, 11, 0, 0, 255);
  EXPECT_PIXEL(31, 11, 0, 0, 0);
  EXPECT_PIXEL(41, 11, 0, 255, 0);
  EXPECT_PIXEL(51, 11, 0, 0, 255);
  EXPECT_PIXEL(61, 11, 0, 0, 0);
  FreeImage(strip);
  FreeImage(opaque);
  FreeImage(green);
  EXPECT_EQ(LoadImage(FromLatin1(Dir + "/missing.png")), nullptr);
}

TEST_F(PlatformDrawing, PicturesAreTintedScaledAndStretched) {
  String pic = MakePicture();
  Image* img = LoadImage(pic);   // the whole window picture; red square at its top-left
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(ImageWidth(img), W);
  Image* red = LoadImageStrip(pic, 2, 2, 0, 1);
  Fill(0, 0, W, H, 0, 0, 0);
  SetBlend(BLEND_ALPHA);
  SetScale(3, 3);
  SetColour(255, 255, 255);
  DrawImage(red, 10, 10);                 // 6 x 6 from (10, 10)
  SetScale(1, 1);
  DrawImageRect(red, 30, 10, 20, 10);     // stretched to 20 x 10
  SetColour(128, 255, 255);               // the colour multiplies the picture
  DrawImage(red, 60, 10);
  EXPECT_PIXEL(12, 12, 255, 0, 0);
  EXPECT_PIXEL(13, 13, 255, 0, 0);
  EXPECT_PIXEL(17, 17, 0, 0, 0);
  EXPECT_PIXEL(45, 15, 255, 0, 0);
  EXPECT_PIXEL(48, 18, 255, 0, 0);
  EXPECT_PIXEL(51, 15, 0, 0, 0);
  EXPECT_PIXEL(30, 21, 0, 0, 0);
  EXPECT_PIXEL(60, 10, 128, 0, 0);
  FreeImage(img);
  FreeImage(red);
}

TEST_F(PlatformDrawing, GrabCopiesTheBackBufferAtWindowCoordinates) {
  Fill(40, 40, 4, 4, 255, 0, 0);
  Fill(42, 42, 2, 2, 0, 255, 0);
  SetOrigin(10, 10);   // grabbing ignores the origin
  Image* img = CreateImage(4, 4, 2, IMAGE_GRABBABLE);
  ASSERT_NE(img, nullptr);
  DrawImage(img, 0, 0, 0);   // drawn once before the grab: its texture must be refreshed
  GrabImage(img, 40, 40, 1);
  SetOrigin(0, 0);
  Fill(0, 0, W, H, 0, 0, 0);
  SetBlend(BLEND_SOLID);
  SetColour(255, 255, 255);
  DrawImage(img, 70, 70, 1);
  EXPECT_PIXEL(70, 70, 255, 0, 0);
  EXPECT_PIXEL(73, 73, 0, 255, 0);
  EXPECT_PIXEL(74, 74, 0, 0, 0);
  // Half outside the window: the inside part is copied, nothing breaks.
  GrabImage(img, W - 2, H - 2, 0);
  GrabImage(img, -100, -100, 0);
  GrabImage(img, 0, 0, 5);
  FreeImage(img);

  // A loaded strip never drawn yet: the grabbed frame has the window's pixels, the others the
  // file's.
  Image* strip = LoadImageStrip(MakePicture(), 2, 2, 0, 3);
  ASSERT_NE(strip, nullptr);
  Fill(40, 40, 2, 2, 0, 0, 255);
  GrabImage(strip, 40, 40, 1);
  Fill(0, 0, W, H, 0, 0, 0);
  SetColour(255, 255, 255);
  for (int frame = 0; frame < 3; frame++) DrawImage(strip, float(10 + 10 * frame), 10, frame);
  EXPECT_PIXEL(11, 11, 255, 0, 0);
  EXPECT_PIXEL(21, 11, 0, 0, 255);
  EXPECT_PIXEL(31, 11, 0, 255, 0);
  FreeImage(strip);
}

TEST_F(PlatformDrawing, ReopeningTheDisplayKeepsPictures) {
  // Drawn in software, frames are paced by the clock: the software renderer claims the
  // vertical-blank wait without doing it, which once ran the game at twice the display rate.
  EXPECT_FALSE(PresentWaitsForVerticalBlank());
  String pic = MakePicture();
  Image* red = LoadImageStrip(pic, 2, 2, 0, 1);
  Fill(0, 0, W, H, 0, 0, 0);
  SetBlend(BLEND_ALPHA);
  SetColour(255, 255, 255);
  DrawImage(red, 5, 5);
  OpenDisplay(W + 40, H + 20, 0, 60);
  EXPECT_NE(ReadPixel(W + 39, H + 19), -1);   // the new size is in use
  SetBlend(BLEND_ALPHA);
  SetColour(255, 255, 255);
  DrawImage(red, W + 30, H + 10);
  EXPECT_PIXEL(W + 31, H + 11, 255, 0, 0);
  OpenDisplay(W, H, 0, 60);
  FreeImage(red);
}

TEST_F(PlatformDrawing, PicturesLoadBeforeAndFromEmbeddedData) {
  String pic = MakePicture();
  std::ifstream in(ToLatin1(pic), std::ios::binary);
  static std::string bytes;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  RegisterResource(u"Test/pic.png", reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  Image* img = LoadImageStrip(u"incbin::Test/pic.png", 2, 2, 2, 1);
  ASSERT_NE(img, nullptr);
  SetBlend(BLEND_SOLID);
  DrawImage(img, 0, 50);
  EXPECT_PIXEL(1, 51, 0, 255, 0);
  EXPECT_EQ(LoadImage(u"incbin::Test/none.png"), nullptr);
  FreeImage(img);
}

TEST_F(PlatformDrawing, APictureIsDecodedAgainForANewRendererEvenWhenItsFileIsGone) {
  String pic = MakePicture();
  Image* strip = LoadImageStrip(pic, 2, 2, 0, 3);
  ASSERT_NE(strip, nullptr);
  DeleteFile(pic);
  Fill(0, 0, W, H, 0, 0, 255);
  SetColour(255, 255, 255);
  DrawImage(strip, 10, 10, 2);   // every frame gets its texture; the decoded pixels go
  Renderer_Generation++;         // as when the renderer is made anew: every texture is void
  DrawImage(strip, 20, 10, 0);
  DrawImage(strip, 30, 10, 2);
  EXPECT_PIXEL(11, 11, 0, 255, 0);
  EXPECT_PIXEL(21, 11, 255, 0, 0);
  EXPECT_PIXEL(31, 11, 0, 255, 0);
  FreeImage(strip);
}

// A picture's size comes from its header, and one claiming more than 64 M pixels is refused
// before anything is decoded: a few bytes of a file must not bring the game down. A player's
// picture (a flag) may be at most 4096 pixels each way.
TEST_F(PlatformDrawing, HugePicturesAreRefusedBeforeTheyAreDecoded) {
  struct Case {
    const char* name;
    uint32_t w, h;
    bool embedded;   // the game's own data: only the header is read at load
    bool loads;
  } cases[] = {
      {"limit.png", 8192, 8192, true, true},   // exactly 64 M pixels, never decoded here
      {"over.png", 8192, 8193, true, false},
      {"huge.png", 30000, 30000, false, false},
      {"huge_embedded.png", 30000, 30000, true, false},
      {"flag_widest.png", 4096, 8, false, true},
      {"flag_tallest.png", 8, 4096, false, true},
      {"flag_wide.png", 4097, 8, false, false},
      {"flag_tall.png", 8, 4097, false, false},
      {"flag_limit.png", 8192, 8192, false, false},   // allowed to the game's own pictures only
  };
  static std::string kept[std::size(cases)];   // registered data must live on
  for (const Case& c : cases) {
    std::string& bytes = kept[&c - cases];
    bytes = BlackPng(c.w, c.h);
    String url = FromLatin1(Dir + "/" + c.name);
    if (c.embedded) {
      RegisterResource(u"Test/" + FromLatin1(c.name), reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      url = u"incbin::Test/" + FromLatin1(c.name);
    } else {
      std::ofstream(Dir + "/" + c.name, std::ios::binary) << bytes;
    }
    Image* img = LoadImage(url);
    Image* strip = LoadImageStrip(url, 64, 64, 0, 2);
    EXPECT_EQ(img != nullptr, c.loads) << c.name;
    EXPECT_EQ(strip != nullptr, c.loads) << c.name;
    EXPECT_EQ(ImageWidth(img), c.loads ? int(c.w) : 0) << c.name;
    EXPECT_EQ(ImageHeight(img), c.loads ? int(c.h) : 0) << c.name;
    FreeImage(img);
    FreeImage(strip);
  }
  // Sides whose product overflows 64 bits (found by the fuzzer): refused, not taken as small.
  static std::string overflowing = BlackPng(8, 8);
  overflowing.replace(16, 8, "\xF6\xFF\xEF\xFF\xFF\xFF\xFF\xFD", 8);
  RegisterResource(u"Test/overflowing.png", reinterpret_cast<const uint8_t*>(overflowing.data()), overflowing.size());
  EXPECT_EQ(LoadImage(u"incbin::Test/overflowing.png"), nullptr);
#ifdef QUARK_SOURCE_DIR
  // A JPEG whose frame header claims 30000 x 30000.
  std::ifstream in(std::string(QUARK_SOURCE_DIR) + "/Data/qUaRk_screen_fond.jpg", std::ios::binary);
  std::string jpeg(std::istreambuf_iterator<char>(in), {});
  size_t frame = jpeg.find("\xFF\xC0");
  if (frame != std::string::npos && frame + 9 <= jpeg.size()) {
    jpeg.replace(frame + 5, 4, "\x75\x30\x75\x30");
    std::ofstream(Dir + "/huge.jpg", std::ios::binary) << jpeg;
    EXPECT_EQ(LoadImage(FromLatin1(Dir + "/huge.jpg")), nullptr);
  }
#endif
}

// A player's file is decoded when loaded, so a damaged one fails its load; the game's own data
// is only decoded at the first draw, where a damaged picture draws nothing.
TEST_F(PlatformDrawing, ADamagedPictureFailsItsLoadOrDrawsNothing) {
  static std::string small = BlackPng(40, 30), damaged = small.substr(0, 45);
  RegisterResource(u"Test/damaged.png", reinterpret_cast<const uint8_t*>(damaged.data()), damaged.size());
  std::ofstream(Dir + "/small.png", std::ios::binary) << small;
  std::ofstream(Dir + "/damaged.png", std::ios::binary) << damaged;
  EXPECT_EQ(LoadImage(FromLatin1(Dir + "/damaged.png")), nullptr);
  // A JPEG header in front of a vector drawing (found by the fuzzer): only the decoder the
  // header names is used, so the drawing is never decoded by the library's own guess.
  std::ofstream(Dir + "/drawing.jpg", std::ios::binary)
      << std::string("\xFF\xD8\xFF\xCD\xFF\x06\x06\x06\x06\x06\x06\x06", 12)
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"30\"><rect width=\"40\" height=\"30\"/></svg>";
  EXPECT_EQ(LoadImage(FromLatin1(Dir + "/drawing.jpg")), nullptr);
  Image* fine = LoadImage(FromLatin1(Dir + "/small.png"), 0);
  Image* broken = LoadImage(u"incbin::Test/damaged.png", 0);
  ASSERT_NE(fine, nullptr);
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(ImageWidth(broken), 40);
  Fill(0, 0, W, H, 0, 0, 255);
  SetColour(255, 255, 255);
  DrawImage(fine, 0, 0);
  DrawImage(broken, 50, 0);
  DrawImage(broken, 50, 0);   // not decoded again, still nothing
  EXPECT_PIXEL(39, 29, 0, 0, 0);
  EXPECT_PIXEL(50, 0, 0, 0, 255);
  FreeImage(fine);
  FreeImage(broken);
}

#ifdef QUARK_SOURCE_DIR
TEST_F(PlatformDrawing, TheGamesOwnJpegAndPngPicturesDecode) {
  String dir = FromLatin1(std::string(QUARK_SOURCE_DIR) + "/Data/");
  struct Case {
    const char16_t* name;
    int frame_w;   // 0: a single picture
  } cases[] = {{u"qUaRk_screen_fond.jpg", 0}, {u"qUaRk_screen_menus.jpg", 0},
               {u"qUaRk_icones_normales.png", 64}};
  static std::string kept[std::size(cases)];
  for (const Case& c : cases) {
    String path = dir + c.name;
    if (FileSize(path) <= 0) continue;   // the generated data is not there yet
    // A file is decoded when loaded; embedded, only the header is read then, and the picture
    // is decoded at its first draw, which must find the size the header gave.
    std::ifstream in(ToLatin1(path), std::ios::binary);
    std::string& bytes = kept[&c - cases];
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    RegisterResource(u"Test/" + String(c.name), reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    String url = u"incbin::Test/" + String(c.name);
    Image* file = c.frame_w ? LoadImageStrip(path, c.frame_w, c.frame_w, 0, 11) : LoadImage(path);
    Image* img = c.frame_w ? LoadImageStrip(url, c.frame_w, c.frame_w, 0, 11) : LoadImage(url);
    ASSERT_NE(file, nullptr) << ToUtf8(path);
    ASSERT_NE(img, nullptr) << ToUtf8(path);
    EXPECT_GT(ImageWidth(file), 0);
    EXPECT_EQ(ImageWidth(img), ImageWidth(file));
    EXPECT_EQ(ImageHeight(img), ImageHeight(file));
    Fill(0, 0, W, H, 255, 0, 255);
    SetColour(255, 255, 255);
    DrawImage(img, 0, 0);   // solid: even transparent pixels replace the magenta
    int drawn = 0;
    for (int y = 0; y < H; y += 6) {
      for (int x = 0; x < W; x += 6) drawn += ReadPixel(x, y) != 0xFF00FF;
    }
    EXPECT_GT(drawn, 0) << ToUtf8(path);
    FreeImage(file);
    FreeImage(img);
  }
}
#endif

class PlatformText : public PlatformDrawing {
 protected:
  static constexpr const char* Latin_Font = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
  static constexpr const char* Cjk_Font = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";
  void SetUp() override {
    PlatformDrawing::SetUp();
    if (access(Latin_Font, R_OK) != 0) GTEST_SKIP() << "no font " << Latin_Font;
    Face = LoadFont(FromLatin1(Latin_Font), 24);
    ASSERT_NE(Face, nullptr);
    SetFont(Face);
  }
  void TearDown() override {
    SetFont(nullptr);
    FreeFont(Face);
    SetFallbackFont(u"");
    PlatformDrawing::TearDown();
  }
  Font* Face = nullptr;
};

TEST_F(PlatformText, WidthsAddUpAndUnknownCharactersMeasureNothing) {
  EXPECT_EQ(TextWidth(u""), 0);
  int a = TextWidth(u"A"), ab = TextWidth(u"AB");
  EXPECT_GT(a, 5);
  EXPECT_GT(ab, a);
  EXPECT_GT(TextHeight(u"A"), 20);
  EXPECT_EQ(TextWidth(u"\uE000"), 0);            // a private-use character no font has
  EXPECT_EQ(TextWidth(u"A\uE000"), a);
  // A broken surrogate shows as the replacement character rather than vanishing.
  EXPECT_EQ(TextWidth(String(1, char16_t(0xD800))), TextWidth(u"\uFFFD"));
  EXPECT_EQ(LoadFont(u"/no/such/font.ttf", 20), nullptr);
  EXPECT_EQ(LoadFont(u"incbin::No/font.ttf", 20), nullptr);
}

TEST_F(PlatformText, FallbackFaceServesWhatTheFontLacks) {
  if (access(Cjk_Font, R_OK) != 0) GTEST_SKIP() << "no font " << Cjk_Font;
  SetFallbackFont(u"");
  EXPECT_EQ(TextWidth(u"\u65E5\u672C"), 0);
  SetFallbackFont(FromLatin1(Cjk_Font));
  int cjk = TextWidth(u"\u65E5\u672C");
  EXPECT_GT(cjk, 20);
  EXPECT_EQ(TextWidth(u"A\u65E5\u672C"), TextWidth(u"A") + cjk);
  EXPECT_GE(TextHeight(u"A\u65E5"), TextHeight(u"A"));
  // Mixed text draws both runs.
  SetBlend(BLEND_ALPHA);
  SetColour(255, 255, 255);
  DrawText(u"A\u65E5", 0, 0);
  int lit_a = 0, lit_cjk = 0, a = TextWidth(u"A");
  for (int y = 0; y < 30; y++) {
    for (int x = 0; x < a; x++) lit_a += Red(ReadPixel(x, y)) > 128;
    for (int x = a; x < a + cjk / 2; x++) lit_cjk += Red(ReadPixel(x, y)) > 128;
  }
  EXPECT_GT(lit_a, 10);
  EXPECT_GT(lit_cjk, 10);
}

TEST_F(PlatformText, TextIsDrawnInTheCurrentColourAndScale) {
  SetBlend(BLEND_ALPHA);
  SetColour(255, 0, 0);
  SetOrigin(10, 10);
  for (int k = 0; k < 3; k++) DrawText(u"W", 0, 0);   // drawn from the cache after the first
  SetOrigin(0, 0);
  int w = TextWidth(u"W"), h = TextHeight(u"W");
  int max_red = 0, max_other = 0, right_edge = 0;
  for (int y = 0; y < H; y++) {
    for (int x = 0; x < W; x++) {
      int p = ReadPixel(x, y);
      if (Red(p) > 0) right_edge = std::max(right_edge, x);
      max_red = std::max(max_red, Red(p));
      max_other = std::max({max_other, Green(p), Blue(p)});
      if (Red(p) > 0) {
        EXPECT_GE(x, 10);
        EXPECT_GE(y, 10);
        EXPECT_LT(y, 10 + h);
      }
    }
  }
  EXPECT_GT(max_red, 200);
  EXPECT_EQ(max_other, 0);
  EXPECT_LE(right_edge, 10 + w);
  EXPECT_GT(right_edge, 10 + w / 2);

  Fill(0, 0, W, H, 0, 0, 0);
  SetBlend(BLEND_ALPHA);
  SetColour(255, 255, 255);
  SetScale(2, 2);
  DrawText(u"W", 0, 0);
  SetScale(1, 1);
  int scaled_edge = 0;
  for (int y = 0; y < H; y++)
    for (int x = 0; x < W; x++)
      if (Red(ReadPixel(x, y)) > 0) scaled_edge = std::max(scaled_edge, x);
  EXPECT_GT(scaled_edge, right_edge - 10 + w / 2 + 4);
  EXPECT_EQ(TextWidth(u"W"), w);   // measuring ignores the scale
}

TEST_F(PlatformText, DefaultFontIsTheEmbeddedGameFont) {
  static std::string bytes;
  std::ifstream in(Latin_Font, std::ios::binary);
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  RegisterResource(u"Data/a2.ttf", reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  SetFont(nullptr);
  int small = TextWidth(u"WWW");
  EXPECT_GT(small, 0);
  SetFont(Face);
  EXPECT_LT(small, TextWidth(u"WWW"));   // 14 pixels against 24
}

// A high-density display, two window pixels per unit: the game keeps its units, every draw
// lands on the window's pixels (a rectangle, the viewport, a picture grabbed and drawn back
// with its every pixel), and text is made at the real size instead of enlarged, so its edges
// stay one pixel soft.
class PlatformDensity : public PlatformText {
 protected:
  static int Partial(int p) { return Red(p) > 40 && Red(p) < 215; }
  // How many partly lit pixels a letter "I" has along its middle row, and how wide it is lit.
  static void StemRow(int ratio, int* partial, int* lit) {
    *partial = *lit = 0;
    SetBlend(BLEND_SOLID);
    SetColour(0, 0, 0);
    DrawRect(0, 0, W, H);
    SetBlend(BLEND_ALPHA);
    SetColour(255, 255, 255);
    DrawText(u"I", 10, 10);
    int row = (10 + TextHeight(u"I") / 2) * ratio;
    for (int x = 0; x < 60 * ratio; x++) {
      int p = ReadPixel(x, row);
      *partial += Partial(p);
      *lit += Red(p) >= 215;
    }
  }
};

TEST_F(PlatformDensity, DrawsLandOnTheWindowsPixelsAndTextIsMadeAtThem) {
  int partial_1x, lit_1x;
  const int width_1x = TextWidth(u"Quark"), height_1x = TextHeight(u"Quark");
  StemRow(1, &partial_1x, &lit_1x);

  ForcePixelRatio(2);
  OpenDisplay(W, H, 0, 60);
  FreeFont(Face);
  Face = LoadFont(FromLatin1(Latin_Font), 24);
  SetFont(Face);
  SetViewport(0, 0, W, H);
  int partial_2x, lit_2x;
  StemRow(2, &partial_2x, &lit_2x);
  EXPECT_NEAR(TextWidth(u"Quark"), width_1x, 1) << "text is measured in the game's units";
  EXPECT_NEAR(TextHeight(u"Quark"), height_1x, 1);
  EXPECT_NEAR(lit_2x, 2 * lit_1x, 2) << "the stem is twice as wide in pixels";
  EXPECT_LE(partial_2x, partial_1x) << "its edges are as sharp as at one pixel per unit, not enlarged";

  SetBlend(BLEND_SOLID);
  Fill(0, 0, W, H, 0, 0, 0);
  Fill(10, 10, 5, 5, 255, 0, 0);
  EXPECT_PIXEL(20, 20, 255, 0, 0);
  EXPECT_PIXEL(29, 29, 255, 0, 0);
  EXPECT_PIXEL(30, 30, 0, 0, 0);
  SetViewport(0, 0, 50, 50);
  Fill(45, 0, 20, 5, 0, 255, 0);
  EXPECT_PIXEL(99, 2, 0, 255, 0);
  EXPECT_PIXEL(100, 2, 0, 0, 0);   // the viewport clips at its edge, in pixels
  SetViewport(0, 0, W, H);

  // Half a unit is one pixel: a grabbed picture keeps it.
  Fill(40, 40, 4, 4, 255, 0, 0);
  SetColour(0, 255, 0);
  DrawRect(41.5f, 40, 0.5f, 4);
  Image* img = CreateImage(4, 4, 1, IMAGE_GRABBABLE);
  GrabImage(img, 40, 40);
  Fill(0, 0, W, H, 0, 0, 0);
  SetColour(255, 255, 255);
  DrawImage(img, 70, 70);
  EXPECT_PIXEL(142, 141, 255, 0, 0);
  EXPECT_PIXEL(143, 141, 0, 255, 0);
  EXPECT_PIXEL(144, 141, 255, 0, 0);
  EXPECT_EQ(ImageWidth(img), 4) << "its size stays in the game's units";
  FreeImage(img);

  ForcePixelRatio(0);
  OpenDisplay(W, H, 0, 60);
}

}  // namespace
