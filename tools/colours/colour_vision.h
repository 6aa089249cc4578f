// How colours look to players with colour-vision deficiencies: the simulation of Machado,
// Oliveira and Fernandes (2009, "A Physiologically-based Model for Simulation of Color Vision
// Deficiency", IEEE TVCG 15(6)) at full severity, and the CIEDE2000 colour difference.
#pragma once

#include <array>
#include <vector>

namespace colour_vision {

enum Deficiency { Normal, Protanopia, Deuteranopia, Tritanopia, Deficiency_Count };
const char* DeficiencyName(Deficiency d);

using Rgb = std::array<double, 3>;   // sRGB, 0..1 per channel

double ToLinear(double srgb);
double ToSrgb(double linear);
// The colour as a player with the deficiency sees it (the matrix works on linear light; the
// result is clamped to what a screen can show).
Rgb Simulate(const Rgb& srgb, Deficiency d);
// CIE L*a*b* (D65 white) of an sRGB colour.
std::array<double, 3> Lab(const Rgb& srgb);
// CIEDE2000 difference between two sRGB colours: about 1 is the smallest difference a viewer
// notices side by side, 10 and more reads as another colour at a glance.
double DeltaE2000(const Rgb& a, const Rgb& b);
double DeltaE2000Lab(const std::array<double, 3>& a, const std::array<double, 3>& b);

// The smallest CIEDE2000 difference between any two of the colours as a player with the
// deficiency sees them, and the pair (indexes) that gives it.
struct ClosestPair {
  double Difference = 0;
  int First = -1, Second = -1;
};
ClosestPair Closest(const std::vector<Rgb>& colours, Deficiency d);

}  // namespace colour_vision
