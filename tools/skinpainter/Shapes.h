#pragma once

// Smooth-edged shapes for the skin: a shape is known by its signed
// distance, so every edge pixel can be blended by how much of it the shape
// covers, and the rim can follow the edge at any slant.

#include "toolkit/graphics/Canvas.h"

#include <functional>
#include <vector>

namespace skin {

struct Point2 {
    double X = 0;
    double Y = 0;
};

// The signed distance in pixels from a point to the shape's edge: negative
// inside. Pixel (x, y) is sampled at its centre (x + 0.5, y + 0.5).
using Shape = std::function<double(double x, double y)>;

// The convex polygon through corners given clockwise as seen on the screen.
Shape ConvexPolygon(std::vector<Point2> corners);
// A rectangle (right- and bottom-exclusive edges) with round corners.
Shape RoundedRect(double left, double top, double right, double bottom, double radius);
Shape Circle(double centreX, double centreY, double radius);

// How a shape is coloured from its edge inwards: a rim lit from the top
// left, a dark groove inside it, then the face.
struct Material {
    TPixel RimLit = 0;   // where the rim faces the light
    TPixel RimShade = 0; // where it faces away
    double Rim = 0;      // pixels
    TPixel Groove = 0;
    double GrooveWidth = 0; // pixels
    // The colour of the face on the row whose centre is y.
    std::function<TPixel(double y)> Face;
};

// Paints the shape inside bounds: where a row lies wholly inside the face
// it is filled with one FillRect in the face colour of that row; the other
// pixels are set one by one, edge pixels blended over what is already there.
void PaintShape(TCanvas& canvas, const TRect& bounds, const Shape& shape, const Material& material);

// Light spreading from centre over what is already painted: full colour
// at the centre, fading to nothing at radius (a little faster than
// linearly). Only pixels at least inset pixels inside within take it.
void PaintGlow(TCanvas& canvas, const TRect& bounds, Point2 centre, double radius, TPixel colour, const Shape& within,
    double inset);

// A material without rim: the face only.
Material Flat(std::function<TPixel(double y)> face);
Material Flat(TPixel colour);

} // namespace skin
