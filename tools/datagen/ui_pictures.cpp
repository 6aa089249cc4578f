// Side-bar icons, the time digits, the hand pointers, the side bar, the level-map plateaus and
// the colour symbols.
#include "ui_pictures.h"

#include <cmath>

#include "paint.h"
#include "pixel_font.h"

namespace {

const int ICON = 64;

struct IconInk {
  Rgb Fill, Outline;
};

// The rounded glass badge behind every icon; the lit one glows warm.
void DrawBadge(Picture& pic, int ox, bool lit) {
  auto sd = [&](float x, float y) { return SdBox(x, y, ox + 32.0f, 32.0f, 28, 28, 11); };
  ShadowShape(pic, ox, 0, ox + ICON - 1, ICON - 1, sd, 1.5f, 2.0f, 2.5f, 0.45f);
  Rgb top = lit ? Hex(0xFFD27A) : Hex(0x5A6A8C), bottom = lit ? Hex(0xE0802A) : Hex(0x2C3450);
  FillRelief(pic, ox, 0, ox + ICON - 1, ICON - 1, sd, [&](float, float y) {
    return MixRgb(top, bottom, Clamp01((y - 4) / 56));
  }, 5.0f, 0.5f);
  // A glassy reflection on the upper half.
  FillShape(pic, ox, 0, ox + ICON - 1, ICON - 1, [&](float x, float y) {
    return std::max(sd(x, y) + 3, SdCircle(x, y, ox + 32.0f, -38.0f, 66));
  }, Rgb{1, 1, 1}, lit ? 0.22f : 0.12f);
}

IconInk InkFor(bool lit) {
  return lit ? IconInk{Hex(0xFFFFFF), Hex(0x7A3A08)} : IconInk{Hex(0xE8EEF8), Hex(0x141A2C)};
}

void DrawSymbol(Picture& pic, int ox, const Sdf& sd, const IconInk& ink) {
  FillShape(pic, ox, 0, ox + ICON - 1, ICON - 1, [&](float x, float y) { return sd(x, y) - 1.6f; },
            ink.Outline);
  FillShape(pic, ox, 0, ox + ICON - 1, ICON - 1, sd, [&](float, float y) {
    return ink.Fill * (1.05f - 0.25f * Clamp01((y - 10) / 44));
  });
}

float NoteSd(float x, float y) {
  float head = SdBox(x, y, 26, 43, 8, 5.5f, 5.5f);
  float stem = SdBox(x, y, 33, 28, 1.8f, 15, 0.8f);
  float flag = SdCapsule(x, y, 34, 14, 43, 24, 2.2f);
  return std::min({head, stem, flag});
}

float SpeakerSd(float x, float y) {
  float box = SdBox(x, y, 19, 32, 5, 7, 1.5f);
  float cone = SdTriangle(x, y, 20, 32, 34, 16, 34, 48) - 1.0f;
  float body = std::min(box, cone);
  auto arc = [&](float r) {
    float ring = std::fabs(std::hypot(x - 34, y - 32) - r) - 1.8f;
    return std::max(ring, 34 - x + 4);
  };
  return std::min({body, arc(8), arc(15)});
}

float DoorSd(float x, float y) {
  float frame = std::max(SdBox(x, y, 32, 34, 14, 21, 2), -SdBox(x, y, 32, 36, 10, 19, 1));
  float door = SdTriangle(x, y, 22, 17, 36, 21, 36, 51);
  door = std::min(door, SdBox(x, y, 29, 36, 7, 16, 0.5f));
  float panel = std::min(door, frame);
  float knob = SdCircle(x, y, 33, 37, 1.8f);
  return std::max(panel, -knob);
}

float EyeSd(float x, float y) {
  float almond = std::max(SdCircle(x, y, 32, 50, 26), SdCircle(x, y, 32, 14, 26));
  float ring = std::max(almond, -(almond + 2.6f));
  float iris = std::max(SdCircle(x, y, 32, 32, 8), -SdCircle(x, y, 32, 32, 3.5f));
  return std::min(ring, iris);
}

// The pictograms of the buttons that also carry a word: drawn in the upper part of the badge
// (about y 11..35), the game writes the word in the player's language below them (y 41..55).
constexpr float Picto_Y = 23;

// An arrow curling back over the top to the left, its head pointing down: take back.
float UndoSd(float x, float y) {
  const float cx = 34, cy = Picto_Y + 1, r = 9;
  float angle = std::atan2(y - cy, x - cx);
  float ring = std::fabs(std::hypot(x - cx, y - cy) - r) - 2.4f;
  // From the left end over the top to the lower right: everything but the lower left quarter.
  float open = (angle > Pi / 3 && angle < Pi) ? 1e3f : 0;
  float head = SdTriangle(x, y, cx - r - 6.5f, cy - 1, cx - r + 6.5f, cy - 1, cx - r, cy + 8);
  return std::min(ring + open, head - 0.4f);
}

// A circle of arrow going round clockwise, its head at the top: start again.
float RestartSd(float x, float y) {
  const float cx = 32, cy = Picto_Y, r = 9.5f;
  float angle = std::atan2(y - cy, x - cx) * 180 / Pi;
  float ring = std::fabs(std::hypot(x - cx, y - cy) - r) - 2.4f;
  float gap = (angle > -105 && angle < -35) ? 1e3f : 0;
  // The head sits where the ring ends at -105 degrees and points along the turn (to the right).
  const float a = -105 * Pi / 180;
  float px = cx + r * std::cos(a), py = cy + r * std::sin(a);
  float head = SdTriangle(x, y, px - 1, py - 7, px - 1, py + 7, px + 8, py);
  return std::min(ring + gap, head - 0.4f);
}

// An arrow pointing left: back.
float BackSd(float x, float y) {
  float shaft = SdCapsule(x, y, 26, Picto_Y, 43, Picto_Y, 2.6f);
  float head = SdTriangle(x, y, 18, Picto_Y, 29, Picto_Y - 10, 29, Picto_Y + 10) - 0.4f;
  return std::min(shaft, head);
}

// A grid of nine squares: the menu of choices.
float MenuSd(float x, float y) {
  float best = 1e9f;
  for (int r = -1; r <= 1; r++)
    for (int c = -1; c <= 1; c++) best = std::min(best, SdBox(x, y, 32 + c * 8.5f, Picto_Y + r * 8.5f, 3, 3, 1));
  return best;
}

// A play triangle: go on with the last game.
float ResumeSd(float x, float y) { return SdTriangle(x, y, 25, Picto_Y - 11, 25, Picto_Y + 11, 43, Picto_Y) - 1.0f; }

// A small clock (time spent) and a small cup (time left before the record), the TIME icon's
// signs for its two fields.
float ClockSd(float x, float y, float cx, float cy) {
  float rim = std::fabs(std::hypot(x - cx, y - cy) - 4.6f) - 1.2f;
  float hands = std::min(SdCapsule(x, y, cx, cy, cx, cy - 3.2f, 0.8f), SdCapsule(x, y, cx, cy, cx + 2.4f, cy, 0.8f));
  return std::min(rim, hands);
}
float CupSd(float x, float y, float cx, float cy) {
  const float top = cy - 4;
  float bowl = std::max(SdCircle(x, y, cx, top, 5.2f), top - y);   // the lower half of a disc
  float rim = SdBox(x, y, cx, top, 5.2f, 0.9f, 0.4f);
  float handles = std::max(std::fabs(std::hypot(x - cx, y - (top + 1)) - 6.0f) - 0.8f,
                           std::max(top - 1.5f - y, y - (top + 2.5f)));
  float stem = SdBox(x, y, cx, cy + 2.8f, 0.9f, 2.2f, 0.2f);
  float base = SdBox(x, y, cx, cy + 5.4f, 3.4f, 0.9f, 0.4f);
  return std::min({bowl, rim, handles, stem, base});
}

void DrawTimeIcon(Picture& pic, int ox, bool lit) {
  IconInk ink = InkFor(lit);
  auto body = [&](float x, float y) { return SdBox(x, y, ox + 32.0f, 31.0f, 30, 30, 8); };
  ShadowShape(pic, ox, 0, ox + ICON - 1, ICON - 1, body, 1.5f, 2.0f, 2.5f, 0.45f);
  Rgb top = lit ? Hex(0xFFD27A) : Hex(0x5A6A8C), bottom = lit ? Hex(0xE0802A) : Hex(0x2C3450);
  FillRelief(pic, ox, 0, ox + ICON - 1, ICON - 1, body, [&](float, float y) {
    return MixRgb(top, bottom, Clamp01((y - 2) / 60));
  }, 4.0f, 0.4f);
  // Two fields of digits 16 pixels high (the game draws them at y + 7 and y + 38, x + 16 to
  // x + 60), each with its sign on the left, and a colon between minutes and seconds.
  for (int k = 0; k < 2; ++k) {
    float cy = k == 0 ? 15.0f : 46.0f;
    auto field = [&](float x, float y) { return SdBox(x, y, ox + 38.5f, cy, 23, 10.5f, 3); };
    FillShape(pic, ox, 0, ox + ICON - 1, ICON - 1, field, Rgb{0.06f, 0.07f, 0.12f}, 0.85f);
    FillShape(pic, ox, 0, ox + ICON - 1, ICON - 1, [&](float x, float y) {
      return std::min(SdCircle(x, y, ox + 38.0f, cy - 3.5f, 1.3f), SdCircle(x, y, ox + 38.0f, cy + 3.5f, 1.3f));
    }, ink.Fill);
    auto sign = [&](float x, float y) {
      return k == 0 ? ClockSd(x - ox, y, 8.5f, cy) : CupSd(x - ox, y, 8.5f, cy);
    };
    DrawSymbol(pic, ox, sign, ink);
  }
}

}  // namespace

Picture RenderIcons(bool lit) {
  Picture pic(11 * ICON, ICON);
  IconInk ink = InkFor(lit);
  for (int i = 0; i < 11; ++i) {
    int ox = i * ICON;
    int index = i + 1;
    if (index == 7) {
      DrawTimeIcon(pic, ox, lit);
      continue;
    }
    DrawBadge(pic, ox, lit);
    auto shifted = [ox](float (*f)(float, float)) {
      return [ox, f](float x, float y) { return f(x - ox, y); };
    };
    switch (index) {
      case 1: DrawSymbol(pic, ox, shifted(MenuSd), ink); break;
      case 2: DrawWord(pic, "?", ox + 32.0f, 32.0f, 5.0f, 5.0f, ink.Fill, ink.Outline, 1.6f, 0); break;
      case 3: DrawSymbol(pic, ox, shifted(NoteSd), ink); break;
      case 4: DrawSymbol(pic, ox, shifted(SpeakerSd), ink); break;
      case 5: DrawSymbol(pic, ox, shifted(DoorSd), ink); break;
      case 6: DrawSymbol(pic, ox, shifted(UndoSd), ink); break;
      case 8: DrawSymbol(pic, ox, shifted(RestartSd), ink); break;
      case 9: DrawSymbol(pic, ox, shifted(BackSd), ink); break;
      case 10: DrawSymbol(pic, ox, shifted(EyeSd), ink); break;
      case 11: DrawSymbol(pic, ox, shifted(ResumeSd), ink); break;
    }
  }
  return pic;
}

Picture RenderDigits() {
  Picture pic(100, 16);
  for (int d = 0; d < 10; ++d) {
    std::string s(1, char('0' + d));
    // Each glyph fills its frame's height, 16 pixels, and 9 of its 10 columns, so digits read
    // at a glance on the TIME icon and a pixel of air stays between two of them.
    float x = d * 10.0f + 0.5f, y = 0.0f;
    FillShape(pic, d * 10, 0, d * 10 + 9, 15,
              [&](float px, float py) { return SdText(s, x, y, 1.8f, 16.0f / 7, px, py); },
              [&](float, float py) { return MixRgb(Hex(0xFFFFFF), Hex(0xC8DCFF), Clamp01((py - 1) / 14)); });
  }
  return pic;
}

Picture RenderHand(bool pressed) {
  Picture pic(160, 160);
  const float tip_x = 85, tip_y = 50;
  float sink = pressed ? 3.0f : 0.0f;   // the pressed hand's palm comes nearer the finger tip
  auto index = [&](float x, float y) { return SdCapsule(x, y, tip_x, tip_y + 8, tip_x, 96, 8); };
  auto palm = [&](float x, float y) {
    return SdBox(x, y, 97, 113 - sink, 21, 20, 11);
  };
  auto finger = [&](int k) {
    return [=](float x, float y) {
      float fy = 95.0f + k * 11.5f - sink;
      return SdCapsule(x, y, 96, fy, 113 - k * 1.5f, fy + 1, 6.6f);
    };
  };
  auto thumb = [&](float x, float y) { return SdCapsule(x, y, 81, 116 - sink, 67, 100 - sink, 7); };
  auto cuff = [&](float x, float y) { return SdBox(x, y, 99, 140 - sink, 19, 8, 3); };
  auto all = [&](float x, float y) {
    return std::min({index(x, y), palm(x, y), finger(0)(x, y), finger(1)(x, y), finger(2)(x, y),
                     thumb(x, y), cuff(x, y)});
  };
  ShadowShape(pic, 0, 0, 159, 159, all, 4, 5, 4, 0.35f);
  Rgb outline = Hex(0x1A1A24);
  Rgb glove = pressed ? Hex(0xE8ECF4) : Hex(0xFFFFFF);
  auto part = [&](const Sdf& sd) {
    FillShape(pic, 0, 0, 159, 159, [&](float x, float y) { return sd(x, y) - 2.2f; }, outline);
    // Lit a little brighter than the blocks so that the glove reads white.
    FillRelief(pic, 0, 0, 159, 159, sd, [&](float, float) { return glove * 1.22f; }, 5.0f, 0.2f);
  };
  part(cuff);
  part(palm);
  part(thumb);
  for (int k = 2; k >= 0; --k) part(finger(k));
  part(index);
  if (pressed) {
    // Little click strokes around the finger tip.
    for (int k = 0; k < 5; ++k) {
      float a = (-150 + k * 30) * Pi / 180;
      float ax = tip_x + std::cos(a) * 12, ay = tip_y + std::sin(a) * 12;
      float bx = tip_x + std::cos(a) * 20, by = tip_y + std::sin(a) * 20;
      FillShape(pic, 0, 0, 159, 159, [&](float x, float y) { return SdCapsule(x, y, ax, ay, bx, by, 1.8f); },
                Hex(0xFFD040));
    }
  }
  return pic;
}

Picture RenderSideBar() {
  Picture pic(64, 768);
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 64; ++x) {
      float t = y / 767.0f;
      Rgb c = MixRgb(Hex(0x3A4460), Hex(0x222840), t);
      float edge = Smooth(6, 0, x) * 0.35f;                 // lit left edge
      float groove = Smooth(1.5f, 0, std::fabs(std::fmod(y + 0.5f, 96.0f) - 0.5f)) * 0.25f;
      float grain = 0.03f * TileNoise(x / 8.0f, y / 8.0f, 96, 7);
      c = c * (1 + edge - groove + grain);
      pic.Set(x, y, c, 1);
    }
  return pic;
}

Picture RenderPlateau(bool highlighted) {
  Picture pic(260, 220);
  auto frame = [](float x, float y) { return SdBox(x, y, 130, 110, 119, 99, 16); };
  auto well = [](float x, float y) { return SdBox(x, y, 130, 110, 102, 82, 6); };
  ShadowShape(pic, 0, 0, 259, 219, frame, 3, 4, 4, 0.5f);
  if (highlighted) GlowShape(pic, 0, 0, 259, 219, frame, Hex(0xFFE080), 9, 0.8f);
  Rgb top = highlighted ? Hex(0xFFD860) : Hex(0x8A9AC0);
  Rgb bottom = highlighted ? Hex(0xD08A20) : Hex(0x4A5678);
  FillRelief(pic, 0, 0, 259, 219, [&](float x, float y) { return std::max(frame(x, y), -well(x, y)); },
             [&](float, float y) { return MixRgb(top, bottom, Clamp01((y - 10) / 200)); }, 7.0f, 0.6f);
  // The recessed board: darker at the top where the rim shades it, with faint cell lines.
  FillShape(pic, 0, 0, 259, 219, well, [&](float x, float y) {
    float gx = std::fabs(std::fmod(x - 30, 20.0f) - 10), gy = std::fabs(std::fmod(y - 30, 20.0f) - 10);
    float line = Smooth(9.0f, 10.0f, std::max(gx, gy)) * 0.25f;
    float shade = Smooth(-6, 0, well(x, y)) * Smooth(60, 20, y) * 0.4f;
    Rgb base = highlighted ? Hex(0x40385A) : Hex(0x2C3448);
    return base * (1 + line - shade);
  });
  return pic;
}

Picture RenderColourSymbols() {
  const int size = 64;
  Picture pic(6 * size, size);
  for (int k = 0; k < 6; k++) {
    const float ox = float(k * size), c = 32;
    // Shapes of one weight, each as large as it can be while its outline stays inside the frame,
    // so that even at 12 pixels a corner, a point or an arm tells them apart.
    Sdf sd;
    switch (k) {
      case 0: sd = [=](float x, float y) { return SdCircle(x, y, ox + c, c, 19); }; break;
      case 1: sd = [=](float x, float y) { return SdTriangle(x, y, ox + c, 8, ox + 56, 51, ox + 8, 51) - 1.5f; }; break;
      case 2: sd = [=](float x, float y) { return SdBox(x, y, ox + c, c, 17, 17, 2); }; break;
      case 3: {
        sd = [=](float x, float y) {
          const float vx[4] = {ox + c, ox + 56, ox + c, ox + 8}, vy[4] = {7, c, 57, c};
          return SdPolygon(x, y, vx, vy, 4) - 1.0f;
        };
        break;
      }
      case 4: sd = [=](float x, float y) { return SdStar(x, y, ox + c, 34, 25, 11, 5, 0) - 1.0f; }; break;
      default:
        sd = [=](float x, float y) {
          return std::min(SdBox(x, y, ox + c, c, 22, 7.5f, 1), SdBox(x, y, ox + c, c, 7.5f, 22, 1));
        };
        break;
    }
    const int x0 = k * size, x1 = x0 + size - 1;
    ShadowShape(pic, x0, 0, x1, size - 1, [&](float x, float y) { return sd(x, y) - 3.5f; }, 1.5f, 2.0f, 2.5f, 0.5f);
    FillShape(pic, x0, 0, x1, size - 1, [&](float x, float y) { return sd(x, y) - 3.5f; }, Hex(0x18181C));
    FillShape(pic, x0, 0, x1, size - 1, sd, [&](float, float y) {
      return MixRgb(Hex(0xFFFFFF), Hex(0xD8DCE4), Clamp01((y - 10) / 44));
    });
  }
  return pic;
}
