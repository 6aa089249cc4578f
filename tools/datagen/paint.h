// Painting helpers: smooth steps, seeded tileable noise, signed distances of simple shapes and
// the anti-aliased filling of a shape given by its signed distance.
#pragma once

#include <functional>

#include "picture.h"

constexpr float Pi = 3.14159265358979f;

float Clamp01(float v);
float Smooth(float e0, float e1, float x);   // smoothstep
float Lerp(float a, float b, float t);
float Fract(float v);

// Deterministic hash of integer coordinates and a seed, in [0, 1).
float Hash2(int x, int y, int seed);
// Value noise over a lattice that repeats every `period` cells; u, v in lattice cells.
float TileNoise(float u, float v, int period, int seed);
// Sum of octaves of TileNoise, each twice as fine; result about 0..1.
float TileFbm(float u, float v, int period, int octaves, int seed);

// Signed distances: negative inside, in pixels.
float SdCircle(float px, float py, float cx, float cy, float r);
float SdBox(float px, float py, float cx, float cy, float hw, float hh, float round);
float SdCapsule(float px, float py, float ax, float ay, float bx, float by, float r);
// Signed distance to the closed polygon through the n points (negative inside).
float SdPolygon(float px, float py, const float* vx, const float* vy, int n);
float SdStar(float px, float py, float cx, float cy, float outer, float inner, int points,
             float turn_deg);
float SdTriangle(float px, float py, float ax, float ay, float bx, float by, float cx, float cy);

// Coverage of a pixel by a shape with signed distance d (a one-pixel anti-aliased edge).
float Cover(float d);

using Sdf = std::function<float(float, float)>;
using Shader = std::function<Rgb(float, float)>;

// Fills the shape within the rectangle (x0, y0)-(x1, y1), colour from `shade`, blended over.
void FillShape(Picture& pic, int x0, int y0, int x1, int y1, const Sdf& sdf, const Shader& shade,
               float alpha = 1.0f);
void FillShape(Picture& pic, int x0, int y0, int x1, int y1, const Sdf& sdf, Rgb colour,
               float alpha = 1.0f);
// A soft shadow of the shape, offset by (dx, dy), spread over `blur` pixels.
void ShadowShape(Picture& pic, int x0, int y0, int x1, int y1, const Sdf& sdf, float dx, float dy,
                 float blur, float alpha);
// A glow around the shape.
void GlowShape(Picture& pic, int x0, int y0, int x1, int y1, const Sdf& sdf, Rgb colour,
               float radius, float alpha);
// Shaded relief of a shape: lit from the top left, bevelled over `bevel` pixels.
void FillRelief(Picture& pic, int x0, int y0, int x1, int y1, const Sdf& sdf, const Shader& base,
                float bevel, float gloss);
