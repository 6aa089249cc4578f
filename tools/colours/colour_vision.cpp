// The colour-vision simulation and the CIEDE2000 difference (formulas as published by Sharma,
// Wu and Dalal, 2005, whose test pairs the tests check).
#include "tools/colours/colour_vision.h"

#include <algorithm>
#include <cmath>

namespace colour_vision {

namespace {

constexpr double Pi = 3.14159265358979323846;

// Machado et al. 2009, table of severity 1.0, for linear RGB.
constexpr double Matrices[Deficiency_Count][3][3] = {
    {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}},
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}},
    {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}},
};

double Radians(double degrees) { return degrees * Pi / 180; }
double Degrees(double radians) { return radians * 180 / Pi; }

}  // namespace

const char* DeficiencyName(Deficiency d) {
  static const char* const Names[Deficiency_Count] = {"normal vision", "protanopia", "deuteranopia", "tritanopia"};
  return d >= 0 && d < Deficiency_Count ? Names[d] : "?";
}

double ToLinear(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }
double ToSrgb(double c) {
  c = std::clamp(c, 0.0, 1.0);
  return c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

Rgb Simulate(const Rgb& srgb, Deficiency d) {
  Rgb lin = {ToLinear(srgb[0]), ToLinear(srgb[1]), ToLinear(srgb[2])};
  Rgb out;
  for (int row = 0; row < 3; row++) {
    double v = 0;
    for (int col = 0; col < 3; col++) v += Matrices[d][row][col] * lin[col];
    out[row] = ToSrgb(v);
  }
  return out;
}

std::array<double, 3> Lab(const Rgb& srgb) {
  double r = ToLinear(srgb[0]), g = ToLinear(srgb[1]), b = ToLinear(srgb[2]);
  double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
  double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
  double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
  auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
  double fx = f(x / 0.95047), fy = f(y), fz = f(z / 1.08883);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double DeltaE2000Lab(const std::array<double, 3>& p, const std::array<double, 3>& q) {
  double l1 = p[0], a1 = p[1], b1 = p[2], l2 = q[0], a2 = q[1], b2 = q[2];
  double c1 = std::hypot(a1, b1), c2 = std::hypot(a2, b2);
  double c_mean = (c1 + c2) / 2;
  double c7 = std::pow(c_mean, 7);
  double g = 0.5 * (1 - std::sqrt(c7 / (c7 + std::pow(25.0, 7))));
  double a1p = (1 + g) * a1, a2p = (1 + g) * a2;
  double c1p = std::hypot(a1p, b1), c2p = std::hypot(a2p, b2);
  auto hue = [](double b, double a) {
    if (a == 0 && b == 0) return 0.0;
    double h = Degrees(std::atan2(b, a));
    return h < 0 ? h + 360 : h;
  };
  double h1p = hue(b1, a1p), h2p = hue(b2, a2p);
  double dl = l2 - l1, dc = c2p - c1p;
  double dh = 0;
  if (c1p * c2p != 0) {
    dh = h2p - h1p;
    if (dh > 180) dh -= 360;
    if (dh < -180) dh += 360;
  }
  double dH = 2 * std::sqrt(c1p * c2p) * std::sin(Radians(dh / 2));
  double l_mean = (l1 + l2) / 2, cp_mean = (c1p + c2p) / 2;
  double h_mean = h1p + h2p;
  if (c1p * c2p != 0) {
    if (std::fabs(h1p - h2p) <= 180) {
      h_mean /= 2;
    } else {
      h_mean = h1p + h2p < 360 ? (h_mean + 360) / 2 : (h_mean - 360) / 2;
    }
  }
  double t = 1 - 0.17 * std::cos(Radians(h_mean - 30)) + 0.24 * std::cos(Radians(2 * h_mean)) +
             0.32 * std::cos(Radians(3 * h_mean + 6)) - 0.20 * std::cos(Radians(4 * h_mean - 63));
  double d_theta = 30 * std::exp(-std::pow((h_mean - 275) / 25, 2));
  double cp7 = std::pow(cp_mean, 7);
  double rc = 2 * std::sqrt(cp7 / (cp7 + std::pow(25.0, 7)));
  double sl = 1 + 0.015 * std::pow(l_mean - 50, 2) / std::sqrt(20 + std::pow(l_mean - 50, 2));
  double sc = 1 + 0.045 * cp_mean, sh = 1 + 0.015 * cp_mean * t;
  double rt = -std::sin(Radians(2 * d_theta)) * rc;
  return std::sqrt(std::pow(dl / sl, 2) + std::pow(dc / sc, 2) + std::pow(dH / sh, 2) + rt * (dc / sc) * (dH / sh));
}

double DeltaE2000(const Rgb& a, const Rgb& b) { return DeltaE2000Lab(Lab(a), Lab(b)); }

ClosestPair Closest(const std::vector<Rgb>& colours, Deficiency d) {
  ClosestPair best;
  std::vector<Rgb> seen;
  for (const Rgb& c : colours) seen.push_back(Simulate(c, d));
  for (size_t i = 0; i < seen.size(); i++) {
    for (size_t j = i + 1; j < seen.size(); j++) {
      double e = DeltaE2000(seen[i], seen[j]);
      if (best.First < 0 || e < best.Difference) best = {e, int(i), int(j)};
    }
  }
  return best;
}

}  // namespace colour_vision
