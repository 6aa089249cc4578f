// The materials of the 38 tile styles: colour and relief of a block at each point, every
// pattern repeating exactly once per block so that joined blocks show no seam.
#include <cmath>
#include <vector>

#include "paint.h"
#include "tiles.h"

namespace {

const float TwoPi = 2 * Pi;

// Repeating noise over a block, `cells` lattice cells across it.
float Noise(float u, float v, int cells, int seed, int octaves = 3) {
  return TileFbm(u / BLOCK * cells, v / BLOCK * cells, cells, octaves, seed);
}

// Distance to the nearest of the scattered points, one per lattice cell; `cells` per block.
float Cells(float u, float v, int cells, int seed) {
  float s = float(BLOCK) / cells;
  int cx = int(std::floor(u / s)), cy = int(std::floor(v / s));
  float best = 1e9f;
  for (int j = -1; j <= 1; ++j)
    for (int i = -1; i <= 1; ++i) {
      int x = cx + i, y = cy + j;
      int wx = ((x % cells) + cells) % cells, wy = ((y % cells) + cells) % cells;
      float px = (x + 0.15f + 0.7f * Hash2(wx, wy, seed)) * s;
      float py = (y + 0.15f + 0.7f * Hash2(wx, wy, seed + 7)) * s;
      best = std::min(best, std::hypot(u - px, v - py));
    }
  return best / s;
}

Surface Plain(Rgb c, float h = 0) { return {c, h}; }

// Twisted barley-sugar stripes along the diagonal.
Surface Twist(float u, float v, Rgb base, Rgb stripe) {
  float s = std::sin((u + v) * TwoPi / 32.0f);
  float t = Smooth(0.1f, 0.6f, s);
  return {MixRgb(base, stripe, t * 0.85f), -0.8f * t};
}

Surface Gingham(float u, float v, Rgb paper, Rgb ink) {
  float cx = Smooth(0.35f, 0.65f, 0.5f + 0.5f * std::cos(u * TwoPi / 24.0f));
  float cy = Smooth(0.35f, 0.65f, 0.5f + 0.5f * std::cos(v * TwoPi / 24.0f));
  float weave = 0.04f * std::sin(u * TwoPi / 3.0f) * std::sin(v * TwoPi / 3.0f);
  float k = 0.42f * cx + 0.42f * cy + weave;
  return {MixRgb(paper, ink, Clamp01(k)), 0};
}

Surface Dots(float u, float v, Rgb base, Rgb dot, float spacing, float radius, float relief) {
  // A staggered lattice of dots, `spacing` dividing the block.
  float row = std::floor(v / spacing);
  float shift = (int(row) % 2) ? spacing / 2 : 0;
  float fx = std::fmod(u + shift, spacing) - spacing / 2, fy = std::fmod(v, spacing) - spacing / 2;
  float r = std::hypot(fx, fy);
  float t = Smooth(radius + 0.8f, radius - 0.8f, r);
  return {MixRgb(base, dot, t), relief * t * std::sqrt(Clamp01(1 - r * r / (radius * radius)))};
}

Surface Bricks(float u, float v) {
  float row = std::floor(v / 24.0f);
  float shift = (int(row) % 2) ? 24.0f : 0.0f;
  float bx = std::fmod(u + shift, 48.0f), by = std::fmod(v, 24.0f);
  float edge = std::min({bx, 48.0f - bx, by, 24.0f - by});
  float mortar = Smooth(2.6f, 1.2f, edge);
  int id = int(std::floor((u + shift) / 48.0f)) % 2 + int(row) * 2;
  float tone = 0.88f + 0.16f * Hash2(id, 3, 17) + 0.1f * Noise(u, v, 12, 5);
  Rgb brick = Hex(0xD98A62) * tone;
  return {MixRgb(brick, Hex(0xE8DDD0), mortar), -1.6f * mortar};
}

Surface Wood(float u, float v) {
  float warp = 10.0f * Noise(u, v, 3, 31, 2);
  float g = 0.5f + 0.5f * std::sin((v + warp) * TwoPi / 16.0f);
  float fine = Noise(u * 0.25f, v * 4.0f, 8, 33, 2);
  Rgb light = Hex(0xE6BD84), dark = Hex(0xC08850);
  Rgb c = MixRgb(light, dark, 0.65f * std::pow(g, 3.0f) + 0.25f * fine);
  return {c, 0.4f * g};
}

Surface Chocolate(float u, float v, Rgb c) {
  float bx = std::fmod(u, 48.0f), by = std::fmod(v, 48.0f);
  float edge = std::min({bx, 48.0f - bx, by, 48.0f - by});
  float pillow = Smooth(0, 9, edge);
  return {c * (0.82f + 0.18f * pillow), 2.2f * pillow};
}

Surface Diamonds(float u, float v, Rgb a, Rgb b) {
  float p = (u + v) / 24.0f, q = (u - v) / 24.0f;
  int cell = int(std::floor(p)) + int(std::floor(q));
  float ep = std::min(Fract(p), 1 - Fract(p)), eq = std::min(Fract(q), 1 - Fract(q));
  float line = Smooth(0.06f, 0.0f, std::min(ep, eq));
  Rgb c = (cell % 2 == 0) ? a : b;
  return {MixRgb(c, Hex(0xFFFFFF), 0.5f * line), 0};
}

Surface Scales(float u, float v) {
  // Overlapping round scales in staggered rows.
  float row = std::floor(v / 12.0f);
  float shift = (int(row) % 2) ? 8.0f : 0.0f;
  float fx = std::fmod(u + shift, 16.0f) - 8.0f, fy = std::fmod(v, 12.0f);
  float r = std::hypot(fx, fy + 2.0f) / 11.0f;
  float t = Clamp01(r);
  Rgb c = MixRgb(Hex(0x3D8F55), Hex(0x15452A), t * t);
  return {c, 1.5f * (1 - t)};
}

Surface Stars(float u, float v, Rgb sky, int cells, int seed, float size) {
  Surface s{sky, 0};
  float cs = float(BLOCK) / cells;
  int cx = int(std::floor(u / cs)), cy = int(std::floor(v / cs));
  float px = (cx + 0.2f + 0.6f * Hash2(cx % cells, cy % cells, seed)) * cs;
  float py = (cy + 0.2f + 0.6f * Hash2(cx % cells, cy % cells, seed + 1)) * cs;
  float big = 0.5f + Hash2(cx % cells, cy % cells, seed + 2);
  float d = SdStar(u, v, px, py, size * big, size * big * 0.42f, 4, 0);
  float glow = std::exp(-std::hypot(u - px, v - py) / (size * 0.6f)) * 0.35f;
  float t = Clamp01(0.5f - d) + glow;
  s.Colour = MixRgb(sky, Hex(0xFFF6D8), Clamp01(t));
  return s;
}

Surface Tartan(float u, float v) {
  auto band = [](float w) {
    float p = std::fmod(w, 48.0f);
    float wide = Smooth(2, 1, std::fabs(p - 12) - 6);
    float thin = Smooth(1.2f, 0.4f, std::fabs(p - 36));
    return std::pair<float, float>(wide, thin);
  };
  auto [wu, tu] = band(u);
  auto [wv, tv] = band(v);
  Rgb c = Hex(0x1C3F34);
  c = MixRgb(c, Hex(0x16203F), 0.5f * (wu + wv));
  c = MixRgb(c, Hex(0xB8323A), 0.8f * std::max(tu, tv));
  float twill = 0.06f * std::sin((u - v) * TwoPi / 4.0f);
  return {c * (0.95f + twill), 0};
}

Surface Tufted(float u, float v) {
  // Padded upholstery: diamonds between buttons, pulled in at each button.
  float p = (u + v) / 48.0f, q = (u - v) / 48.0f;
  float fp = Fract(p) - 0.5f, fq = Fract(q) - 0.5f;
  float corner = std::max(std::fabs(fp), std::fabs(fq));   // 0.5 at the buttons and creases
  float pad = 1 - corner * 2;
  float button_d = std::hypot(0.5f - std::fabs(fp), 0.5f - std::fabs(fq)) * 34.0f;
  float button = Smooth(3.2f, 2.0f, button_d);
  Rgb c = Hex(0xE7BFA8) * (0.8f + 0.22f * std::sqrt(Clamp01(pad)));
  c = MixRgb(c, Hex(0x8C5A4A), button);
  return {c, 3.0f * std::sqrt(Clamp01(pad)) + 1.0f * button};
}

Surface Tiles(float u, float v) {
  float bx = std::fmod(u, 32.0f), by = std::fmod(v, 32.0f);
  float edge = std::min({bx, 32.0f - bx, by, 32.0f - by});
  float grout = Smooth(2.0f, 0.8f, edge);
  int id = int(u / 32) + 3 * int(v / 32);
  Rgb tile = MixRgb(Hex(0x1F6F7A), Hex(0x2A5C8C), 0.5f * Hash2(id, 1, 41));
  return {MixRgb(tile, Hex(0x9AA8A8), grout), -1.2f * grout};
}

Surface TreadPlate(float u, float v) {
  float brushed = Noise(u * 0.2f, v * 3.0f, 16, 51, 2);
  Rgb c = Hex(0xB9C0C8) * (0.9f + 0.14f * brushed);
  // Raised diagonal bars, alternating direction.
  float cx = std::fmod(u, 24.0f) - 12, cy = std::fmod(v, 24.0f) - 12;
  bool flip = (int(u / 24) + int(v / 24)) % 2;
  float a = flip ? (cx + cy) : (cx - cy), b = flip ? (cx - cy) : (cx + cy);
  float bar = Smooth(1.0f, 0.0f, SdCapsule(a, b, 0, -8, 0, 8, 2.4f));
  return {c * (1 + 0.08f * bar), 1.6f * bar};
}

Surface Hazard(float u, float v) {
  // Each period of 32 pixels: two thirds dark, one third yellow.
  float s = Fract((u + v) / 32.0f);
  float yellow = Smooth(0.62f, 0.66f, s) - Smooth(0.96f, 1.0f, s);
  return {MixRgb(Hex(0x262628), Hex(0xF0C020), Clamp01(yellow)), 0.3f * yellow};
}

Surface Ribs(float u, float v, Rgb c) {
  float r = 0.5f + 0.5f * std::cos(v * TwoPi / 12.0f);
  float grain = 0.05f * Noise(u, v, 24, 61, 2);
  return {c * (0.9f + 0.1f * r + grain), 1.6f * r};
}

Surface Pumice(float u, float v) {
  float hole = Cells(u, v, 8, 71);
  float small = Cells(u, v, 16, 73);
  float pit = Smooth(0.3f, 0.12f, hole) + 0.6f * Smooth(0.25f, 0.1f, small);
  Rgb c = Hex(0xCFCAC0) * (0.92f + 0.12f * Noise(u, v, 12, 75));
  return {MixRgb(c, Hex(0x8E887E), Clamp01(pit)), -1.5f * Clamp01(pit)};
}

Surface Bubbles(float u, float v, Rgb base, Rgb light, int cells, int seed) {
  float c = Cells(u, v, cells, seed);
  float ring = Smooth(0.28f, 0.22f, c) * Smooth(0.12f, 0.2f, c);
  float dot = Smooth(0.12f, 0.06f, c);
  Rgb col = MixRgb(base, light, Clamp01(0.7f * ring + 0.3f * dot));
  return {col, 0.8f * ring};
}

Surface Rings(float u, float v, Rgb base, Rgb line, float spacing) {
  float r = std::hypot(u - 48, v - 48);
  // Rings fade out before the block's edge so that joined blocks keep one ground.
  float wave = 0.5f + 0.5f * std::cos(r * TwoPi / spacing);
  float fade = Smooth(48, 30, r);
  return {MixRgb(base, line, wave * wave * fade * 0.8f), 0.9f * wave * fade};
}

Surface Marble(float u, float v, Rgb base, Rgb vein, int seed) {
  float n = Noise(u, v, 4, seed, 4);
  float veins = std::pow(1 - std::fabs(std::sin((u * 0.3f + n * 9.0f) * 0.9f)), 6.0f);
  return {MixRgb(base, vein, 0.6f * veins), 0};
}

Surface Squiggle(float u, float v) {
  float w = std::sin(u * TwoPi / 24.0f + 2.0f * std::sin(v * TwoPi / 32.0f));
  float line = Smooth(0.25f, 0.0f, std::fabs(w - std::sin(v * TwoPi / 48.0f)));
  // Bright enough to stay apart from the dark pool's blue for blue-yellow colour-blind players.
  Rgb c = MixRgb(Hex(0x37E4ED), Hex(0xE8FFFF), 0.7f * line);
  return {c, 0.6f * line};
}

Surface Caustics(float u, float v) {
  float n1 = Noise(u, v, 4, 81, 3), n2 = Noise(u + 31, v + 17, 4, 83, 3);
  float ridge = std::pow(1 - std::fabs(n1 - n2) * 4.0f, 5.0f);
  Rgb c = MixRgb(Hex(0x3C9FD8), Hex(0x2B78C0), Noise(u, v, 3, 85));
  return {MixRgb(c, Hex(0xC8F0FF), Clamp01(ridge) * 0.7f), 0};
}

Surface Frost(float u, float v, Rgb c) {
  float n = Noise(u, v, 12, 91, 3);
  float sparkle = Smooth(0.82f, 0.9f, Hash2(int(u) % BLOCK, int(v) % BLOCK, 93)) * 0.35f;
  return {MixRgb(c * (0.93f + 0.12f * n), Hex(0xFFFFFF), sparkle), 0.4f * n};
}

Surface Inclusion(float u, float v) {
  float depth = Noise(u, v, 4, 101, 3);
  Rgb c = MixRgb(Hex(0x7A3A10), Hex(0x3E1A08), depth);
  float fleck = Cells(u, v, 8, 103);
  float f = Smooth(0.16f, 0.08f, fleck);
  return {MixRgb(c, Hex(0xF2B040), f), 0};
}

Surface Quilt(float u, float v) {
  // Deep blue with small gold lozenges.
  Surface s = Dots(u, v, Hex(0x24307A), Hex(0xE0B850), 16.0f, 2.2f, 0.4f);
  float stitch = Smooth(0.8f, 0.2f, std::fabs(std::fmod(u + v, 16.0f) - 8.0f)) * 0.15f;
  s.Colour = s.Colour * (1 + stitch);
  return s;
}

Surface Studs(float u, float v, Rgb c) {
  float fx = std::fmod(u, 48.0f) - 24, fy = std::fmod(v, 48.0f) - 24;
  float r = std::hypot(fx, fy);
  // Raised round studs with a rounded shoulder.
  float stud = Smooth(13.0f, 10.0f, r);
  return {c * (1.0f + 0.06f * stud), 5.0f * stud};
}

Surface Shell(float u, float v, Rgb c) {
  // A praline mould: a fluted dome in every block, smooth at its top and at its foot.
  float dx = u - 48, dy = v - 48;
  float r = std::hypot(dx, dy);
  float a = std::atan2(dy, dx);
  float flute = 0.5f + 0.5f * std::cos(a * 12.0f);
  float band = Smooth(8, 18, r) * Smooth(44, 32, r);
  float dome = Smooth(44, 0, r);
  return {c * (0.84f + 0.12f * dome + 0.1f * flute * band), 2.5f * dome + 0.9f * flute * band};
}

std::vector<TileStyle> MakeStyles() {
  std::vector<TileStyle> s;
  auto add = [&](const char* sheet, int light, float gloss, unsigned spark,
                 std::function<Surface(float, float)> m) {
    s.push_back({sheet, light, gloss, Hex(spark), std::move(m)});
  };
  add("sucre_orge_rouge_1", 0, 1.0f, 0xFFB0B0,
      [](float u, float v) { return Twist(u, v, Hex(0xF26A6A), Hex(0xFFC8C0)); });
  add("acide_1", 0, 0.8f, 0xF0FF90,
      [](float u, float v) { return Bubbles(u, v, Hex(0xB8E83A), Hex(0xF2FFB0), 6, 111); });
  add("mandarine", 0, 0.55f, 0xFFD080, [](float u, float v) {
    // A deep mandarine: a lighter orange is the lime's twin to red-green colour-blind players
    // and the candy red's to blue-yellow ones (quark-datagen --colour-check).
    Surface d = Dots(u, v, Hex(0xBC6A25), Hex(0xB05912), 8.0f, 1.4f, -0.5f);
    d.Colour = d.Colour * (0.95f + 0.08f * Noise(u, v, 6, 113));
    return d;
  });
  add("trucmuche_3", 0, 0.6f, 0xD8FFFF, [](float u, float v) { return Squiggle(u, v); });
  add("coca_2", 1, 0.9f, 0xE8C8A0,
      [](float u, float v) { return Bubbles(u, v, Hex(0x5A2418), Hex(0x9A5A40), 6, 121); });
  add("dark_pool_3", 0, 0.8f, 0xC8F0FF, [](float u, float v) { return Caustics(u, v); });
  add("menthe_glace_2", 0, 0.7f, 0xF0FFFF,
      [](float u, float v) { return Frost(u, v, Hex(0xB2F0DC)); });
  add("losanges", 0, 0.3f, 0xFFF0C0,
      [](float u, float v) { return Diamonds(u, v, Hex(0xF5B8D0), Hex(0xB8D8F5)); });
  add("dragon", 1, 0.5f, 0xB0FFB0, [](float u, float v) { return Scales(u, v); });
  add("bois", 0, 0.2f, 0xFFE0B0, [](float u, float v) { return Wood(u, v); });
  add("pomme_amour_1", 0, 1.2f, 0xFFC0C0, [](float u, float v) {
    return Plain(Hex(0xEE5A64) * (0.94f + 0.08f * Noise(u, v, 3, 131)));
  });
  add("violine", 0, 0.5f, 0xF0D0FF,
      [](float u, float v) { return Marble(u, v, Hex(0xC08CE0), Hex(0xE8D4F8), 133); });
  add("lustucru", 1, 0.4f, 0xFFE8A0, [](float u, float v) { return Quilt(u, v); });
  add("inclusion_1", 1, 1.0f, 0xFFD070, [](float u, float v) { return Inclusion(u, v); });
  add("chocolat", 1, 0.45f, 0xE0B090,
      [](float u, float v) { return Chocolate(u, v, Hex(0x5C3220)); });
  add("lego", 1, 0.6f, 0xC0D8FF, [](float u, float v) { return Studs(u, v, Hex(0x2456B8)); });
  add("vichy_parme", 0, 0.1f, 0xF0E0FF,
      [](float u, float v) { return Gingham(u, v, Hex(0xF6F0F8), Hex(0xA888C8)); });
  add("briques", 0, 0.1f, 0xFFD8C0, [](float u, float v) { return Bricks(u, v); });
  add("night_3", 1, 0.5f, 0xFFF4C0, [](float u, float v) {
    Rgb sky = MixRgb(Hex(0x1A2260), Hex(0x0E1238), Noise(u, v, 3, 141));
    return Stars(u, v, sky, 6, 143, 2.6f);
  });
  add("radio_moon", 1, 0.4f, 0xD0E0FF,
      [](float u, float v) { return Rings(u, v, Hex(0x303A60), Hex(0x7C8CC8), 9.0f); });
  add("stellaire", 0, 0.4f, 0xFFFFD0, [](float u, float v) {
    Surface s = Stars(u, v, Hex(0xF8E49A), 4, 151, 5.0f);
    s.Colour = MixRgb(Hex(0xF8E49A), Hex(0xFFFFFF), Clamp01((s.Colour.B - 0.6f) * 2.5f));
    return s;
  });
  add("beurre", 0, 0.35f, 0xFFF8D0, [](float u, float v) {
    float n = Noise(u, v, 4, 161);
    return Surface{Hex(0xF8E6A0) * (0.96f + 0.06f * n), 0.5f * n};
  });
  add("gomme_red", 0, 0.1f, 0xFFC8C8, [](float u, float v) {
    float speck = Smooth(0.9f, 0.95f, Hash2(int(u), int(v), 171));
    return Plain(MixRgb(Hex(0xF08080), Hex(0xFFE0E0), 0.5f * speck));
  });
  add("pierre_ponce", 0, 0.05f, 0xFFFFFF, [](float u, float v) { return Pumice(u, v); });
  add("purple_dots", 0, 0.3f, 0xE8C8FF, [](float u, float v) {
    return Dots(u, v, Hex(0xDCC4F4), Hex(0x8850B8), 24.0f, 6.0f, 0.8f);
  });
  add("capitons", 0, 0.25f, 0xFFE8D8, [](float u, float v) { return Tufted(u, v); });
  add("carrelage", 1, 0.9f, 0xC0F0F0, [](float u, float v) { return Tiles(u, v); });
  add("caramel", 0, 1.1f, 0xFFE0A0, [](float u, float v) {
    // Poured caramel: slow swirls of lighter and darker sugar.
    float n = Noise(u, v, 3, 181, 3);
    float swirl = 0.5f + 0.5f * std::sin((n * 3.0f + (u + v) / 96.0f) * TwoPi);
    return Surface{MixRgb(Hex(0xD89040), Hex(0xF2C070), swirl), 0.6f * swirl};
  });
  add("metal_indus", 0, 0.9f, 0xFFFFFF, [](float u, float v) { return TreadPlate(u, v); });
  add("danger", 1, 0.3f, 0xFFE060, [](float u, float v) { return Hazard(u, v); });
  add("menthe_verte_2", 0, 0.8f, 0xE0FFE0,
      [](float u, float v) { return Frost(u, v, Hex(0x7EDC96)); });
  add("caoutchouc", 0, 0.15f, 0xE0FFF8,
      [](float u, float v) { return Ribs(u, v, Hex(0x84BFB4)); });
  add("malabar", 0, 0.6f, 0xFFE0F0,
      [](float u, float v) { return Marble(u, v, Hex(0xF7A0C8), Hex(0xFFD8EA), 191); });
  add("vichy_lemon", 0, 0.1f, 0xFFFFC0,
      [](float u, float v) { return Gingham(u, v, Hex(0xFFFDF0), Hex(0xF0D840)); });
  add("scotch", 1, 0.15f, 0xFFD0D0, [](float u, float v) { return Tartan(u, v); });
  add("moule_choc", 0, 0.5f, 0xF0D0B0,
      [](float u, float v) { return Shell(u, v, Hex(0xC48A5A)); });
  add("sucre_orge_vert", 0, 1.0f, 0xD0FFC0,
      [](float u, float v) { return Twist(u, v, Hex(0x7CD870), Hex(0xE0FFD0)); });
  add("chocolat_blanc", 0, 0.4f, 0xFFFFF0,
      [](float u, float v) { return Chocolate(u, v, Hex(0xF4EAD2)); });
  return s;
}

}  // namespace

const std::vector<TileStyle>& TileStyles() {
  static const std::vector<TileStyle> styles = MakeStyles();
  return styles;
}
