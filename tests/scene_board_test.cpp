// The board scene read back from the software renderer: the order of its layers, the menu slide
// that moves blocks but not what flies, the fading level number, and the link row. Tile strips
// are flat colours made in the test, so a pixel tells which layer is on top.
#include <tuple>
#include <vector>

#include "app/sidebar.h"
#include "board/hint_play.h"
#include "board/level_play.h"
#include "fx/board_scene.h"
#include "fx/hint_marks.h"
#include "i18n/language.h"
#include "levels/par.h"
#include "fx/particles.h"
#include "platform/headless.h"
#include "tests/board_fixture.h"
#include "tests/flat_images.h"
#include "ui/tutorial.h"

namespace {

constexpr int Cell = 48;
constexpr int W = 10 * Cell + 64, H = 8 * Cell;
constexpr int Tile[2] = {0x50A050, 0xA05050};
constexpr int Spark[2] = {0x202020, 0x303030};   // frame 28, added as light
constexpr int Shadow = 0x3050C8;

class Scene : public BoardTest {
 protected:
  static void SetUpTestSuite() {
    EnterHeadlessMode();
    RegisterEmbeddedData();
  }
  void SetUp() override {
    BoardTest::SetUp();
    OpenDisplay(W, H, 0, 60);
    ASSERT_NE(ReadPixel(0, 0), -1) << "no display";
    Block_Size = Cell;
    Half_Block = Cell / 2;
    Resolution_X = W;
    Resolution_Y = H;
    Origin_X = Origin_Y = 0;
    SetOrigin(0, 0);
    SetViewport(0, 0, W, H);
    SetScale(1, 1);
    SetAlpha(1);
    for (int s = 0; s < 2; s++) {
      Style_Images[s] = MakeFlatStrip(48, 48, 30, [s](int f) { return f == 28 ? Spark[s] : Tile[s]; });
    }
    Img_Shadows = MakeFlatStrip(48, 48, 30, [](int) { return Shadow; });
    // Styles loaded by other suites may carry effects; here only the particles a test places
    // itself may exist, or random ones would land on the pixels it reads.
    for (int& mode : Style_FX_Mode) mode = 0;
    Blank();
  }
  void TearDown() override {
    for (Image*& img : {std::ref(Style_Images[0]), std::ref(Style_Images[1]), std::ref(Img_Shadows)}) {
      FreeImage(img);
      img = nullptr;
    }
    BoardTest::TearDown();
  }
  static void Blank() {
    SetOrigin(0, 0);
    SetBlend(BLEND_SOLID);
    SetColour(0, 0, 0);
    DrawRect(0, 0, W, H);
  }
  static T_FX* Fragment(int kind, int x, int y) {
    auto fx = std::make_unique<T_FX>();
    fx->X = x;
    fx->Y = y;
    fx->BitmapPtr = Style_Images[kind];
    FX_List.push_back(std::move(fx));
    return FX_List.back().get();
  }
  static T_PARTICLE* Particle(T_BLOCK* owner, int kind, float x, float y, float scale) {
    auto p = std::make_unique<T_PARTICLE>();
    p->Owner = owner;
    p->Mode = owner ? Particle_Glint : Particle_Burst;
    p->Size = owner ? 0 : kind;
    p->fX = x;
    p->fY = y;
    p->Scale = scale;
    p->Alpha = 1;
    Particle_List.push_back(std::move(p));
    return Particle_List.back().get();
  }
  // The brightest red channel over the board, on a 2-pixel grid.
  static int Brightest() {
    int best = 0;
    for (int y = 0; y < H; y += 2) {
      for (int x = 0; x < 10 * Cell; x += 2) best = std::max(best, (ReadPixel(x, y) >> 16) & 255);
    }
    return best;
  }
};

int Added(int a, int b) {
  int out = 0;
  for (int shift : {16, 8, 0}) out |= std::min(255, ((a >> shift) & 255) + ((b >> shift) & 255)) << shift;
  return out;
}

TEST_F(Scene, ParticlesLieOverBlocksAndFragmentsOverBothWithTheirShadowsBeneath) {
  Lay({"..........", ".0........"});             // block over 48..95
  Particle(nullptr, 1, 52, 52, 0.5f);            // free particle over 52..75
  Fragment(1, 72, 72);                           // fragment over 72..119, its shadow 92..139
  DrawBoardScene();
  EXPECT_COLOUR_NEAR(ReadPixel(58, 58), Added(Tile[0], Spark[1]), 2);
  EXPECT_COLOUR_NEAR(ReadPixel(74, 74), Tile[1], 2);
  EXPECT_COLOUR_NEAR(ReadPixel(100, 100), Tile[1], 2);   // a fragment covers its own shadow
  EXPECT_COLOUR_NEAR(ReadPixel(125, 125), Shadow, 2);
  EXPECT_COLOUR_NEAR(ReadPixel(30, 30), 0, 2);

  // Without particles the block shows plain; without shadows the fragment casts none.
  Blank();
  Detail_Particles = 0;
  Detail_Shadows = 0;
  DrawBoardScene();
  EXPECT_COLOUR_NEAR(ReadPixel(58, 58), Tile[0], 2);
  EXPECT_COLOUR_NEAR(ReadPixel(125, 125), 0, 2);
}

// A fragment's shadow is left out where the fragment's opaque middle covers it. With the shipped
// tiles (rounded corners) and shadows, at a cell size drawn one for one and at one drawn from
// scaled copies, fragments scattered and overlapping give exactly the pixels of every shadow
// drawn whole under every fragment.
TEST_F(Scene, AFragmentsShadowCutAroundItGivesThePixelsOfTheWholeShadow) {
  for (Image*& img : {std::ref(Style_Images[0]), std::ref(Style_Images[1]), std::ref(Img_Shadows)}) FreeImage(img);
  Style_Images[0] = LoadImageStrip(u"incbin::Data/qUaRk_tiles_bois.png", 48, 48, 0, 30);
  Style_Images[1] = LoadImageStrip(u"incbin::Data/qUaRk_tiles_night_3.png", 48, 48, 0, 30);
  Img_Shadows = LoadImageStrip(u"incbin::Data/qUaRk_fx_shadows.png", 48, 48, 0, 28);
  ASSERT_GE(ImageOpaqueInset(Style_Images[0], 20, Opaque_Left | Opaque_Top), 1) << "the shipped tiles have round corners";
  for (int cell : {48, 37}) {
    SCOPED_TRACE(cell);
    Block_Size = cell;
    Half_Block = cell / 2;
    FX_List.clear();
    for (auto [kind, x, y] : {std::tuple{0, 10, 12}, {1, 40, 30}, {0, 200, 90}, {1, 230, 100}, {0, 330, 200}}) {
      Fragment(kind, x, y);
    }
    auto read = [] {
      std::vector<int> pixels;
      for (int y = 0; y < H; y++) {
        for (int x = 0; x < 10 * Cell; x++) pixels.push_back(ReadPixel(x, y));
      }
      return pixels;
    };
    // Twice: the first time a size is drawn it is scaled on the spot, and kept from then on.
    for (int pass = 0; pass < 2; pass++) {
      Blank();
      T_FX::DrawAll();
    }
    std::vector<int> cut = read();
    Blank();
    SetBlend(BLEND_ALPHA);
    SetColour(255, 255, 255);
    const float h = static_cast<float>(Half_Block);
    const int corners[4][3] = {{20, 0, 0}, {21, 1, 0}, {23, 1, 1}, {22, 0, 1}};
    for (Image* img : {Img_Shadows, static_cast<Image*>(nullptr)}) {
      for (auto& fx : FX_List) {
        const float offset = img ? 20.0f : 0.0f;
        for (const auto& c : corners) {
          DrawImageRect(img ? img : fx->BitmapPtr, static_cast<float>(fx->X) + offset + h * static_cast<float>(c[1]),
                        static_cast<float>(fx->Y) + offset + h * static_cast<float>(c[2]), h, h, c[0]);
        }
      }
    }
    std::vector<int> whole = read();
    int differing = 0;
    for (size_t k = 0; k < cut.size(); k++) differing += cut[k] != whole[k];
    EXPECT_EQ(differing, 0);
    EXPECT_NE(whole[static_cast<size_t>((200 + cell + 4) * 10 * Cell + 330 + cell + 4)], 0) << "a shadow shows below right";
  }
  FX_List.clear();
}

TEST_F(Scene, AWaitingFragmentIsNotDrawn) {
  Fragment(1, 72, 72)->Timer = Now + 300;
  DrawBoardScene();
  EXPECT_COLOUR_NEAR(ReadPixel(100, 100), 0, 2);
  EXPECT_COLOUR_NEAR(ReadPixel(125, 125), 0, 2);
}

TEST_F(Scene, TheMenuSlideMovesBlocksAndTheirParticlesButNotWhatFlies) {
  Lay({"..........", "..........", "..........", "..........", "..........", ".....0...."});
  T_BLOCK* b = BlockAt(5, 5);                    // 240..287 before the slide
  Particle(b, 0, 4, 4, 0.5f);                    // 244..267
  Particle(nullptr, 1, 100, 100, 0.5f);
  Fragment(1, 300, 300);
  Menu_Slide = 1;
  Menu_Slide_Start = Now - 1;
  Menu_Slide_Offset = 0;
  DrawBoardScene();
  EXPECT_EQ(Menu_Slide_Offset, -25);
  EXPECT_COLOUR_NEAR(ReadPixel(250, 212), 0, 2);                               // above the moved block
  EXPECT_COLOUR_NEAR(ReadPixel(246, 217), Tile[0], 2);                         // its top edge, now at 215
  EXPECT_COLOUR_NEAR(ReadPixel(250, 225), Added(Tile[0], Spark[0]), 2);        // its particle came along
  EXPECT_COLOUR_NEAR(ReadPixel(244, 275), 0, 2);                               // where it was
  EXPECT_COLOUR_NEAR(ReadPixel(104, 104), Spark[1], 2);                        // free particle in place
  EXPECT_COLOUR_NEAR(ReadPixel(310, 310), Tile[1], 2);                         // fragment in place
  Blank();
  DrawBoardScene();
  EXPECT_EQ(Menu_Slide_Offset, -50);
  // Before its start time the slide waits.
  Menu_Slide_Start = Now + 1000;
  DrawBoardScene();
  EXPECT_EQ(Menu_Slide_Offset, -50);
  Menu_Slide = 0;
}

TEST_F(Scene, TheLevelNumberFadesOutOverTwoSeconds) {
  Font_Main = LoadFont(u"incbin::Data/a2.ttf", 20);
  ASSERT_NE(Font_Main, nullptr);
  Level_Index = 0;
  Time_Icon_Until = Now + 2000;
  DrawLevelNumber();
  EXPECT_GE(Brightest(), 250);
  Blank();
  Time_Icon_Until = Now + 1000;   // armed 1000 ms ago: half opacity
  DrawLevelNumber();
  EXPECT_NEAR(Brightest(), 128, 4);
  EXPECT_EQ(GetAlpha(), 1.0f);
  EXPECT_EQ(GetScaleX(), 1.0f);

  // No level: nothing shows, and the deadline stays.
  Blank();
  Level_Index = -1;
  DrawLevelNumber();
  EXPECT_EQ(Brightest(), 0);
  EXPECT_EQ(Time_Icon_Until, Now + 1000);
  // Past the deadline it is switched off.
  Level_Index = 0;
  Now += 1001;
  DrawLevelNumber();
  EXPECT_EQ(Brightest(), 0);
  EXPECT_EQ(Time_Icon_Until, 0);
  FreeFont(Font_Main);
  Font_Main = nullptr;
}

TEST_F(Scene, TheHintShowsAtItsHeightWhileTheTutorialRuns) {
  Font_Small = LoadFont(u"incbin::Data/a2.ttf", 24);
  Font_Line_Height = 30;
  Info_Text = u"MMMM";
  Tutorial_Text_Y = 200;
  Par_Corner_Shown = 0;   // the steps and par of the game screen are not what this looks at
  auto lit_rows = [] {
    std::vector<int> rows;
    for (int y = 0; y < H; y += 2) {
      for (int x = 0; x < 10 * Cell; x += 2) {
        if (((ReadPixel(x, y) >> 16) & 255) > 200) {
          rows.push_back(y);
          break;
        }
      }
    }
    return rows;
  };
  Tutorial_Active = 0;
  DrawBoardScene();
  EXPECT_TRUE(lit_rows().empty());
  Tutorial_Active = 1;
  DrawBoardScene();
  std::vector<int> rows = lit_rows();
  ASSERT_FALSE(rows.empty());
  EXPECT_GE(rows.front(), 200);
  EXPECT_LT(rows.back(), 200 + Font_Line_Height);

  // Its shadow belongs to the text and stays at low details: over a grey board, pixels darker
  // than the grey lie beside the letters at every detail level.
  for (int shadows : {1, 0}) {
    Detail_Shadows = shadows;
    SetBlend(BLEND_SOLID);
    SetColour(128, 128, 128);
    DrawRect(0, 0, W, H);
    DrawHint();
    int dark = 0;
    for (int y = 200; y < 200 + Font_Line_Height + 4; y++) {
      for (int x = 0; x < 10 * Cell; x++) dark += ((ReadPixel(x, y) >> 16) & 255) < 100 ? 1 : 0;
    }
    EXPECT_GT(dark, 100) << "Detail_Shadows " << shadows;
  }
  Tutorial_Active = 0;
  Info_Text.clear();
  Par_Corner_Shown = 1;
  FreeFont(Font_Small);
  Font_Small = nullptr;
}

// A page that exists wherever the tests run: the README of the source folder.
const String Test_Page = FromLatin1("file://" QUARK_SOURCE_DIR "/README.md");

TEST_F(Scene, WithoutAHomePageTheLinkRowShowsNothingAndOpensNothing) {
  const String built = Link_Page;
  Link_Page = u"";
  Font_Main = LoadFont(u"incbin::Data/a2.ttf", 20);
  Link_Hover = 0;
  OpenUrl(u"");
  Mouse_X = 10;
  Mouse_Y = 10;
  SetBlend(BLEND_SOLID);
  SetColour(128, 128, 128);
  DrawRect(0, 0, W, H);
  DrawLinkRow(0);
  ClickLinkRow(0);
  EXPECT_EQ(Link_Hover, 0);
  EXPECT_EQ(LastOpenedUrl(), u"");
  int drawn = 0;
  for (int y = 0; y < Cell; y++) {
    for (int x = 0; x < 10 * Cell; x++) drawn += ReadPixel(x, y) != 0x808080 ? 1 : 0;
  }
  EXPECT_EQ(drawn, 0);
  // What a configured page shows: its address without the scheme and the closing slash.
  EXPECT_EQ(LinkLabel(u"https://127.0.0.1/quark/"), u"127.0.0.1/quark");
  EXPECT_EQ(LinkLabel(u"http://127.0.0.1"), u"127.0.0.1");
  EXPECT_EQ(LinkLabel(Test_Page), Test_Page);
  FreeFont(Font_Main);
  Font_Main = nullptr;
  Link_Page = built;
}

TEST_F(Scene, TheLinkRowFollowsThePointerAndOpensOurPageOnAClickInIt) {
  const String built = Link_Page;
  Link_Page = Test_Page;
  Font_Main = LoadFont(u"incbin::Data/a2.ttf", 20);
  Link_Hover = 0;
  struct Step {
    int x, y;
    int hover;
  } steps[] = {{10, 200, 0}, {10, 48, 1}, {300, 20, 1}, {10, 49, 0}, {480, 10, 0}, {479, 0, 1}};
  for (const Step& s : steps) {
    Mouse_X = s.x;
    Mouse_Y = s.y;
    DrawLinkRow(0);
    EXPECT_EQ(Link_Hover, s.hover) << s.x << "," << s.y;
  }
  OpenUrl(u"");
  Mouse_X = 10;
  Mouse_Y = 49;
  ClickLinkRow(0);
  EXPECT_EQ(LastOpenedUrl(), u"");
  Mouse_Y = 48;
  ClickLinkRow(0);
  EXPECT_EQ(LastOpenedUrl(), Test_Page);
  FreeFont(Font_Main);
  Font_Main = nullptr;
  Link_Page = built;
}

TEST_F(Scene, BestFitOnAndOffPutsTheBlocksAtTheirNewPlaces) {
  Font_Url = u"incbin::Data/a2.ttf";
  Desktop_Width = 1366;
  Desktop_Height = 768;
  Wanted_Resolution_X = 804;
  Wanted_Resolution_Y = 592;
  Wanted_Block_Size = 74;
  Screen_Mode = 0;
  Lay({"..........", "..0......."});
  ToggleBestFit();
  EXPECT_EQ(Screen_Mode, 2);
  EXPECT_EQ(BlockAt(2, 1)->X, 2 * 96);
  EXPECT_EQ(BlockAt(2, 1)->Y, 96);
  // Opening our page leaves best fit for the window, so the browser is not hidden.
  Mouse_X = 10;
  Mouse_Y = 10;
  const String built = Link_Page;
  Link_Page = Test_Page;
  ClickLinkRow(0);
  Link_Page = built;
  EXPECT_EQ(Screen_Mode, 0);
  EXPECT_EQ(LastOpenedUrl(), Test_Page);
  EXPECT_EQ(BlockAt(2, 1)->X, 2 * 74);
  EXPECT_EQ(BlockAt(2, 1)->Y, 74);
}

}  // namespace

TEST_F(Scene, TheHintSaysWhatItFoundInWordsAndTheCornerHoldsStepsAgainstPar) {
  std::vector<T_LTEXT> saved = Text_List;
  Text_List.clear();
  T_LTEXT::AddText(u"Hint Thinking", u"Thinking");
  T_LTEXT::AddText(u"No Way Out", u"No way out.");
  T_LTEXT::AddText(u"Undos Back", u"Steps to undo: #");
  T_LTEXT::AddText(u"No Hint In Time", u"None in time.");
  T_LTEXT::AddText(u"Steps", u"Steps");
  T_LTEXT::AddText(u"Par", u"par");
  EXPECT_EQ(HintWords(), u"");
  Hint_Waiting = 1;
  EXPECT_EQ(HintWords(), u"Thinking");
  Hint_Waiting = 0;
  Hint_Known = 1;
  Hint_Answer.outcome = Hint_Dead_End;
  Hint_Answer.undos_back = 12;
  EXPECT_EQ(HintWords(), u"") << "nothing shown before the key is pressed";
  Hint_Stage = 1;
  EXPECT_EQ(HintWords(), u"No way out. Steps to undo: 12");
  Hint_Answer.undos_back = -1;
  EXPECT_EQ(HintWords(), u"No way out.");
  Hint_Answer.outcome = Hint_Out_Of_Time;
  EXPECT_EQ(HintWords(), u"None in time.");
  Hint_Answer.outcome = Hint_Step;
  EXPECT_EQ(HintWords(), u"") << "a step is shown by its marks";

  Current_Par = LevelPar{};
  EXPECT_EQ(StepsAgainstPar(3), u"Steps 3") << "no par, nothing to hold the steps against";
  Current_Par = LevelPar{9, true};
  EXPECT_EQ(StepsAgainstPar(3), u"Steps 3 \u00b7 par 9");
  Current_Par = LevelPar{29, false};
  EXPECT_EQ(StepsAgainstPar(31), u"Steps 31 \u00b7 par \u2264 29");
  ResetLevelPar();
  ResetHintPlay();
  Text_List = saved;
}
