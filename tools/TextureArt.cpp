#include "tools/TextureArt.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>

const char* const TEXTURE_ART_FILES[TEXTURE_ART_COUNT] = {"wood.bmp",  "wall.bmp", "hole.bmp",
                                                          "start.bmp", "ziel.bmp", "save.bmp"};

namespace {

// Only +, -, *, /, sqrt, floor and fabs below: they round the same everywhere, so
// the pictures come out byte for byte alike on every machine.

struct SRgb {
    double r;
    double g;
    double b;
};

SRgb operator*(const SRgb& c, double d) {
    return {c.r * d, c.g * d, c.b * d};
}

SRgb operator+(const SRgb& a, const SRgb& b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

SRgb Mix(const SRgb& a, const SRgb& b, double t) {
    return a * (1.0 - t) + b * t;
}

double Clamp01(double d) {
    return d < 0.0 ? 0.0 : (d > 1.0 ? 1.0 : d);
}

double SmoothStep(double dEdge0, double dEdge1, double d) {
    const double t = Clamp01((d - dEdge0) / (dEdge1 - dEdge0));
    return t * t * (3.0 - 2.0 * t);
}

double Fraction(double d) {
    return d - std::floor(d);
}

// A stateless random source: a well-mixed 32-bit hash of a lattice point.
uint32_t Hash(uint32_t x, uint32_t y, uint32_t dwSeed) {
    uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ dwSeed * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

double HashUnit(uint32_t x, uint32_t y, uint32_t dwSeed) {
    return static_cast<double>(Hash(x, y, dwSeed)) / 4294967296.0;
}

int Wrap(int i, int iPeriod) {
    const int iRest = i % iPeriod;
    return iRest < 0 ? iRest + iPeriod : iRest;
}

// Smooth noise in [0, 1) over the unit square with iCellsU x iCellsV lattice
// cells; it wraps at the square's edges, so the picture tiles without a seam.
double ValueNoise(double u, double v, int iCellsU, int iCellsV, uint32_t dwSeed) {
    const double dX = u * iCellsU;
    const double dY = v * iCellsV;
    const int iX = static_cast<int>(std::floor(dX));
    const int iY = static_cast<int>(std::floor(dY));
    const double fx = SmoothStep(0.0, 1.0, dX - iX);
    const double fy = SmoothStep(0.0, 1.0, dY - iY);
    const uint32_t x0 = static_cast<uint32_t>(Wrap(iX, iCellsU));
    const uint32_t x1 = static_cast<uint32_t>(Wrap(iX + 1, iCellsU));
    const uint32_t y0 = static_cast<uint32_t>(Wrap(iY, iCellsV));
    const uint32_t y1 = static_cast<uint32_t>(Wrap(iY + 1, iCellsV));
    const double dTop = HashUnit(x0, y0, dwSeed) * (1.0 - fx) + HashUnit(x1, y0, dwSeed) * fx;
    const double dBottom = HashUnit(x0, y1, dwSeed) * (1.0 - fx) + HashUnit(x1, y1, dwSeed) * fx;
    return dTop * (1.0 - fy) + dBottom * fy;
}

// Octaves of value noise, each twice as fine and half as strong; in [0, 1).
double Fractal(double u, double v, int iCellsU, int iCellsV, int iOctaves, uint32_t dwSeed) {
    double dSum = 0.0;
    double dWeight = 0.5;
    double dTotal = 0.0;
    for (int i = 0; i < iOctaves; ++i) {
        dSum += ValueNoise(u, v, iCellsU << i, iCellsV << i, dwSeed + static_cast<uint32_t>(i)) * dWeight;
        dTotal += dWeight;
        dWeight *= 0.5;
    }
    return dSum / dTotal;
}

// u runs left to right, v top to bottom, both over [0, 1).
using FPaint = std::function<SRgb(double u, double v)>;

struct SCanvas {
    std::vector<SRgb> Pixels = std::vector<SRgb>(TEXTURE_ART_SIZE * TEXTURE_ART_SIZE);
};

SCanvas Paint(const FPaint& fnColor) {
    SCanvas canvas;
    for (int y = 0; y < TEXTURE_ART_SIZE; ++y) {
        for (int x = 0; x < TEXTURE_ART_SIZE; ++x) {
            const double u = (x + 0.5) / TEXTURE_ART_SIZE;
            const double v = (y + 0.5) / TEXTURE_ART_SIZE;
            canvas.Pixels[y * TEXTURE_ART_SIZE + x] = fnColor(u, v);
        }
    }
    return canvas;
}

// A mark drawn over the canvas: its colour where it covers (u, v), with a
// coverage of 0 to 1.
struct SInk {
    SRgb color;
    double dCover;
};
using FMark = std::function<SInk(double u, double v)>;

// A mark averaged over 4 x 4 points of pixel (x, y) of a picture iSize
// pixels wide, so that its edges are smooth: the mean colour where it
// covers, and the share of the pixel it covers.
SInk Sample(const FMark& fnMark, int x, int y, int iSize) {
    constexpr int SAMPLES = 4;
    SRgb inked = {0.0, 0.0, 0.0};
    double dCover = 0.0;
    for (int j = 0; j < SAMPLES; ++j) {
        for (int i = 0; i < SAMPLES; ++i) {
            const SInk ink = fnMark((x + (i + 0.5) / SAMPLES) / iSize, (y + (j + 0.5) / SAMPLES) / iSize);
            inked = inked + ink.color * ink.dCover;
            dCover += ink.dCover;
        }
    }
    return {dCover > 0.0 ? inked * (1.0 / dCover) : inked, dCover / (SAMPLES * SAMPLES)};
}

// Lays a mark over the canvas.
void Overlay(const FMark& fnMark, SCanvas* pCanvas) {
    for (int y = 0; y < TEXTURE_ART_SIZE; ++y) {
        for (int x = 0; x < TEXTURE_ART_SIZE; ++x) {
            const SInk ink = Sample(fnMark, x, y, TEXTURE_ART_SIZE);
            if (ink.dCover > 0.0) {
                SRgb& pixel = pCanvas->Pixels[y * TEXTURE_ART_SIZE + x];
                pixel = Mix(pixel, ink.color, ink.dCover);
            }
        }
    }
}

double Distance(double u, double v, double dCentreU, double dCentreV) {
    const double du = u - dCentreU;
    const double dv = v - dCentreV;
    return std::sqrt(du * du + dv * dv);
}

// Light beech with darker growth lines running along u, gently wavy and
// streaked with fibres.
SRgb Wood(double u, double v) {
    const SRgb LIGHT = {0.87, 0.68, 0.44};
    const SRgb DARK = {0.62, 0.41, 0.21};
    const double dWarp = Fractal(u, v, 2, 2, 3, 11);
    const double dRing = Fraction(v * 5.0 + dWarp * 0.6);
    const double dLate = SmoothStep(0.35, 0.8, dRing) * (1.0 - SmoothStep(0.85, 1.0, dRing));
    const double dFibre = Fractal(u, v, 8, 128, 2, 23);
    const double dTone = Fractal(u, v, 2, 2, 2, 31);
    const SRgb grain = Mix(LIGHT, DARK, 0.4 * dLate + 0.3 * dFibre);
    return grain * (0.92 + 0.14 * dTone);
}

// Rough grey stones in courses of 32 pixels, offset by half a stone, set in
// pale mortar and lit from the top left.
SRgb Wall(double u, double v) {
    constexpr double COURSES = 8.0;
    constexpr double STONES = 4.0;
    constexpr double MORTAR = 0.07;  // of a course's height
    const double dCourse = std::floor(v * COURSES);
    const double dAlong = u * STONES + 0.5 * (static_cast<int>(dCourse) % 2);
    const double dStone = std::floor(dAlong);
    // Position inside the stone, 0 to 1 both ways, and the distance to its nearest edge.
    const double dIn = dAlong - dStone;
    const double dUp = v * COURSES - dCourse;
    const double dEdgeU = (dIn < 0.5 ? dIn : 1.0 - dIn) / STONES * COURSES;
    const double dEdgeV = dUp < 0.5 ? dUp : 1.0 - dUp;
    const double dEdge = dEdgeU < dEdgeV ? dEdgeU : dEdgeV;

    const uint32_t dwStone = static_cast<uint32_t>(Wrap(static_cast<int>(dStone), static_cast<int>(STONES)));
    const double dShade = HashUnit(dwStone, static_cast<uint32_t>(dCourse), 41);
    const double dWarmth = HashUnit(dwStone, static_cast<uint32_t>(dCourse), 43);
    const SRgb stone = Mix({0.60, 0.60, 0.62}, {0.72, 0.65, 0.55}, dWarmth) * (0.8 + 0.3 * dShade);
    const double dGrit = Fractal(u, v, 16, 16, 3, 47);
    const SRgb rough = stone * (0.8 + 0.4 * dGrit);

    const SRgb MORTAR_COLOR = {0.72, 0.69, 0.62};
    const double dMortarNoise = ValueNoise(u, v, 64, 64, 53);
    if (dEdge < MORTAR) {
        return MORTAR_COLOR * (0.85 + 0.2 * dMortarNoise);
    }
    // A bevel: the upper and left rims catch the light, the lower and right ones lie in shade.
    const double dBevel = 1.0 - SmoothStep(MORTAR, MORTAR + 0.12, dEdge);
    const bool bLit = (dEdge == dEdgeV) ? dUp < 0.5 : dIn < 0.5;
    return rough * (1.0 + (bLit ? 0.25 : -0.3) * dBevel);
}

// A round hole in the wood, darkening towards its depth, with a shadowed lip.
SInk Hole(double u, double v) {
    const double dR = Distance(u, v, 0.5, 0.5);
    constexpr double RADIUS = 0.4;
    if (dR > RADIUS + 0.05) {
        return {{0.0, 0.0, 0.0}, 0.0};
    }
    if (dR > RADIUS) {
        const double dLip = (dR - RADIUS) / 0.05;
        return {{0.25, 0.15, 0.07}, 0.6 * (1.0 - dLip)};
    }
    const double dDepth = dR / RADIUS;
    return {SRgb{0.02, 0.015, 0.01} + SRgb{0.16, 0.11, 0.06} * (dDepth * dDepth * dDepth), 1.0};
}

// A green ring with a green dot in its middle, where the ball sets off.
SInk StartMark(double u, double v) {
    const double dR = Distance(u, v, 0.5, 0.5);
    const SRgb GREEN = {0.10, 0.62, 0.18};
    const SRgb DEEP = {0.04, 0.40, 0.10};
    if (dR < 0.16) {
        return {Mix(GREEN, DEEP, dR / 0.16), 1.0};
    }
    if (dR > 0.28 && dR < 0.40) {
        const double dAcross = (dR - 0.28) / 0.12;
        return {Mix(DEEP, GREEN, 1.0 - (2.0 * dAcross - 1.0) * (2.0 * dAcross - 1.0)), 1.0};
    }
    return {{0.0, 0.0, 0.0}, 0.0};
}

// A blue diamond in a blue ring: a cell that keeps the ball's progress.
SInk SaveMark(double u, double v) {
    const double du = u - 0.5;
    const double dv = v - 0.5;
    const double dR = Distance(u, v, 0.5, 0.5);
    const double dDiamond = (du < 0 ? -du : du) + (dv < 0 ? -dv : dv);
    const SRgb BLUE = {0.16, 0.36, 0.85};
    const SRgb PALE = {0.55, 0.72, 1.0};
    if (dDiamond < 0.2) {
        return {Mix(PALE, BLUE, dDiamond / 0.2), 1.0};
    }
    if (dR > 0.31 && dR < 0.38) {
        return {BLUE, 1.0};
    }
    return {{0.0, 0.0, 0.0}, 0.0};
}

// A chequered flag: eight by eight squares of black and white.
SRgb Goal(double u, double v) {
    const int iSquare = static_cast<int>(std::floor(u * 8.0)) + static_cast<int>(std::floor(v * 8.0));
    const double dCloth = 0.94 + 0.06 * ValueNoise(u, v, 32, 32, 61);
    return (iSquare % 2 == 0 ? SRgb{0.95, 0.95, 0.93} : SRgb{0.08, 0.08, 0.1}) * dCloth;
}

SCanvas WoodWith(const FMark& fnMark) {
    SCanvas canvas = Paint(Wood);
    Overlay(fnMark, &canvas);
    return canvas;
}

unsigned char ToByte(double d) {
    return static_cast<unsigned char>(std::floor(Clamp01(d) * 255.0 + 0.5));
}

std::vector<unsigned char> EncodeCanvas(const SCanvas& canvas) {
    std::vector<unsigned char> Rgb;
    Rgb.reserve(canvas.Pixels.size() * 3);
    for (const SRgb& pixel : canvas.Pixels) {
        Rgb.push_back(ToByte(pixel.r));
        Rgb.push_back(ToByte(pixel.g));
        Rgb.push_back(ToByte(pixel.b));
    }
    return EncodeBmp24(TEXTURE_ART_SIZE, TEXTURE_ART_SIZE, Rgb.data());
}

void PutLittleEndian(std::vector<unsigned char>* pBytes, size_t uOffset, uint32_t dwValue, int iSize) {
    for (int i = 0; i < iSize; ++i) {
        (*pBytes)[uOffset + static_cast<size_t>(i)] = static_cast<unsigned char>(dwValue >> (8 * i));
    }
}

// A BMP with the 14-byte file header, a 40-byte information header and the
// colour table Table (blue, green, red and a zero byte an entry), of iWidth x
// iHeight pixels of iBits; fnRow fills the file's row y, the picture's row
// iHeight - 1 - y, padded to 4 bytes.
std::vector<unsigned char> EncodeBmp(int iWidth, int iHeight, int iBits, const std::vector<unsigned char>& Table,
                                     const std::function<void(int y, unsigned char* pRow)>& fnRow) {
    constexpr size_t HEADERS = 14 + 40;
    const size_t uPixelOffset = HEADERS + Table.size();
    const size_t uRowBytes = (static_cast<size_t>(iWidth) * static_cast<size_t>(iBits) / 8 + 3) / 4 * 4;
    const size_t uPixelBytes = uRowBytes * static_cast<size_t>(iHeight);
    std::vector<unsigned char> Bytes(uPixelOffset + uPixelBytes, 0);
    Bytes[0] = 'B';
    Bytes[1] = 'M';
    PutLittleEndian(&Bytes, 2, static_cast<uint32_t>(Bytes.size()), 4);
    PutLittleEndian(&Bytes, 10, static_cast<uint32_t>(uPixelOffset), 4);
    PutLittleEndian(&Bytes, 14, 40, 4);
    PutLittleEndian(&Bytes, 18, static_cast<uint32_t>(iWidth), 4);
    PutLittleEndian(&Bytes, 22, static_cast<uint32_t>(iHeight), 4);
    PutLittleEndian(&Bytes, 26, 1, 2);  // planes
    PutLittleEndian(&Bytes, 28, static_cast<uint32_t>(iBits), 2);  // compression 0 = none
    PutLittleEndian(&Bytes, 34, static_cast<uint32_t>(uPixelBytes), 4);
    PutLittleEndian(&Bytes, 38, 2835, 4);  // 72 dots per inch, in dots per metre
    PutLittleEndian(&Bytes, 42, 2835, 4);
    std::copy(Table.begin(), Table.end(), Bytes.begin() + static_cast<std::ptrdiff_t>(HEADERS));
    for (int y = 0; y < iHeight; ++y) {
        fnRow(y, Bytes.data() + uPixelOffset + static_cast<size_t>(y) * uRowBytes);
    }
    return Bytes;
}

// The ball under a white light from the upper left, with the game's ball
// material: ambient (0.4, 0.2, 0) in a global ambient of 0.5, diffuse
// (0.9, 0.6, 0), a white highlight of shininess 10. (du, dv) is the point's
// offset from the centre in radii.
SRgb Ball(double du, double dv) {
    const double dN = std::sqrt(Clamp01(1.0 - du * du - dv * dv));
    const double LIGHT[3] = {-0.48, -0.6, 0.64};  // unit length
    const double dDiffuse = Clamp01(du * LIGHT[0] + dv * LIGHT[1] + dN * LIGHT[2]);
    // Halfway between the light and a viewer straight in front, normalised.
    const double dHalfLength = std::sqrt(LIGHT[0] * LIGHT[0] + LIGHT[1] * LIGHT[1] + (LIGHT[2] + 1.0) * (LIGHT[2] + 1.0));
    const double dHalf = Clamp01((du * LIGHT[0] + dv * LIGHT[1] + dN * (LIGHT[2] + 1.0)) / dHalfLength);
    const double dHalf2 = dHalf * dHalf;
    const double dHalf10 = dHalf2 * dHalf2 * dHalf2 * dHalf2 * dHalf2;
    return SRgb{0.2, 0.1, 0.0} + SRgb{0.9, 0.6, 0.0} * dDiffuse + SRgb{1.0, 1.0, 1.0} * dHalf10;
}

// One point of the icon over the unit square; its alpha is 0 outside the
// rounded frame.
SInk IconPoint(double u, double v) {
    constexpr double CORNER = 0.14;
    constexpr double FRAME = 0.15;
    constexpr double BALL_RADIUS = 0.23;
    // Distance outside the square shrunk by the corner radius, rounding its corners.
    const double dOutU = std::fabs(u - 0.5) - (0.5 - CORNER);
    const double dOutV = std::fabs(v - 0.5) - (0.5 - CORNER);
    const double dOutCornerU = std::max(dOutU, 0.0);
    const double dOutCornerV = std::max(dOutV, 0.0);
    const double dCorner = std::sqrt(dOutCornerU * dOutCornerU + dOutCornerV * dOutCornerV);
    if (dCorner > CORNER) {
        return {{0.0, 0.0, 0.0}, 0.0};
    }
    const double dInside = (0.5 - FRAME) - std::max(std::fabs(u - 0.5), std::fabs(v - 0.5));
    if (dInside < 0.0) {
        return {Wall(u, v), 1.0};
    }
    const double dBall = Distance(u, v, 0.5, 0.5) / BALL_RADIUS;
    if (dBall < 1.0) {
        return {Ball((u - 0.5) / BALL_RADIUS, (v - 0.5) / BALL_RADIUS), 1.0};
    }
    // The wood darkens in the ball's shadow, down and to the right, and along the frame's foot.
    const double dShadow = 1.0 - 0.5 * (1.0 - SmoothStep(0.8, 1.1, Distance(u, v, 0.56, 0.58) / BALL_RADIUS));
    return {Wood(u, v) * (dShadow * (0.7 + 0.3 * SmoothStep(0.0, 0.05, dInside))), 1.0};
}

}  // namespace

std::vector<unsigned char> MakeIconRgba(int iSize) {
    std::vector<unsigned char> Rgba;
    Rgba.reserve(static_cast<size_t>(iSize) * static_cast<size_t>(iSize) * 4);
    for (int y = 0; y < iSize; ++y) {
        for (int x = 0; x < iSize; ++x) {
            const SInk ink = Sample(IconPoint, x, y, iSize);
            Rgba.insert(Rgba.end(), {ToByte(ink.color.r), ToByte(ink.color.g), ToByte(ink.color.b), ToByte(ink.dCover)});
        }
    }
    return Rgba;
}


std::vector<unsigned char> MakeTextureFile(const std::string& sName) {
    if (sName == "wood.bmp") {
        return EncodeCanvas(Paint(Wood));
    }
    if (sName == "wall.bmp") {
        return EncodeCanvas(Paint(Wall));
    }
    if (sName == "hole.bmp") {
        return EncodeCanvas(WoodWith(Hole));
    }
    if (sName == "start.bmp") {
        return EncodeCanvas(WoodWith(StartMark));
    }
    if (sName == "ziel.bmp") {
        return EncodeCanvas(Paint(Goal));
    }
    if (sName == "save.bmp") {
        return EncodeCanvas(WoodWith(SaveMark));
    }
    return {};
}

std::vector<unsigned char> EncodeBmp24(int iWidth, int iHeight, const unsigned char* pRgb) {
    return EncodeBmp(iWidth, iHeight, 24, {}, [=](int y, unsigned char* pTarget) {
        // The file's first row is the picture's bottom row; pixels are blue, green, red.
        const unsigned char* pSource = pRgb + static_cast<size_t>(iHeight - 1 - y) * static_cast<size_t>(iWidth) * 3;
        for (int x = 0; x < iWidth; ++x) {
            pTarget[3 * x] = pSource[3 * x + 2];
            pTarget[3 * x + 1] = pSource[3 * x + 1];
            pTarget[3 * x + 2] = pSource[3 * x];
        }
    });
}

std::vector<unsigned char> EncodeBmp8(int iWidth, int iHeight, const unsigned char* pIndices,
                                      const std::vector<unsigned char>& TableRgb) {
    std::vector<unsigned char> Table;
    for (size_t i = 0; i + 2 < TableRgb.size(); i += 3) {
        Table.insert(Table.end(), {TableRgb[i + 2], TableRgb[i + 1], TableRgb[i], 0});
    }
    return EncodeBmp(iWidth, iHeight, 8, Table, [=](int y, unsigned char* pTarget) {
        std::copy_n(pIndices + static_cast<size_t>(iHeight - 1 - y) * static_cast<size_t>(iWidth), iWidth, pTarget);
    });
}
