#include "Artwork.h"

#include <optional>

#include "DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kScale = 4;  // drawn at 4 x 4 samples per pixel

// A drawing surface in final-pixel coordinates (fractions allowed) backed by a
// supersampled 32-bit DIB.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF background)
      : width_(width), height_(height), memory_(CreateCompatibleDC(nullptr)), dc_(memory_.get()) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width * kScale;
    bi.bmiHeader.biHeight = -height * kScale;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bitmap_.reset(
        CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
    if (bitmap_) {
      selected_.emplace(dc_, bitmap_.get());
      Rect(0, 0, static_cast<double>(width), static_cast<double>(height), background);
    }
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool ok() const { return bits_ != nullptr; }

  void Rect(double x, double y, double w, double h, COLORREF c) {
    UniqueBrush brush(CreateSolidBrush(c));
    RECT r{S(x), S(y), S(x + w), S(y + h)};
    FillRect(dc_, &r, brush.get());
  }
  void Ellipse(double x, double y, double w, double h, COLORREF fill) {
    Shape(fill, [&] { ::Ellipse(dc_, S(x), S(y), S(x + w), S(y + h)); });
  }
  void Polygon(std::initializer_list<POINT> points, COLORREF fill) {
    std::vector<POINT> scaled;
    for (POINT p : points) scaled.push_back({p.x * kScale / 16, p.y * kScale / 16});
    Shape(fill, [&] { ::Polygon(dc_, scaled.data(), static_cast<int>(scaled.size())); });
  }
  // A polyline of the given width with round ends and joins.
  void Stroke(std::initializer_list<POINT> points, double width, COLORREF c) {
    std::vector<POINT> scaled;
    for (POINT p : points) scaled.push_back({p.x * kScale / 16, p.y * kScale / 16});
    LOGBRUSH lb{BS_SOLID, c, 0};
    UniqueHandle<HPEN, &::DeleteObject> pen(ExtCreatePen(
        PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, S(width), &lb, 0, nullptr));
    const SelectedObject selected(dc_, pen.get());
    Polyline(dc_, scaled.data(), static_cast<int>(scaled.size()));
  }
  // Vertical gradient over the whole canvas, written straight into the bits.
  void Gradient(COLORREF top, COLORREF bottom) {
    GdiFlush();
    const int rows = height_ * kScale, columns = width_ * kScale;
    for (int y = 0; y < rows; ++y) {
      const COLORREF c = Mix(top, bottom, rows > 1 ? static_cast<double>(y) / (rows - 1) : 0);
      const std::uint32_t pixel = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
      std::fill(bits_ + static_cast<std::size_t>(y) * columns,
                bits_ + static_cast<std::size_t>(y + 1) * columns, pixel);
    }
  }

  // The averaged picture as a device-independent bitmap of the final size.
  UniqueBitmap Result() {
    if (!ok()) return {};
    GdiFlush();
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::uint32_t* out = nullptr;
    UniqueBitmap result(
        CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&out), nullptr, 0));
    if (!result) return {};
    const int stride = width_ * kScale;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        unsigned r = 0, g = 0, b = 0;
        for (int sy = 0; sy < kScale; ++sy)
          for (int sx = 0; sx < kScale; ++sx) {
            const std::uint32_t p = bits_[(y * kScale + sy) * stride + x * kScale + sx];
            b += p & 0xFF;
            g += (p >> 8) & 0xFF;
            r += (p >> 16) & 0xFF;
          }
        constexpr unsigned n = kScale * kScale;
        out[y * width_ + x] = ((r + n / 2) / n) << 16 | ((g + n / 2) / n) << 8 | ((b + n / 2) / n);
      }
    return result;
  }

  static COLORREF Mix(COLORREF a, COLORREF b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<BYTE>(std::lround(x + (y - x) * t)); };
    return RGB(lerp(GetRValue(a), GetRValue(b)), lerp(GetGValue(a), GetGValue(b)),
               lerp(GetBValue(a), GetBValue(b)));
  }

 private:
  static int S(double v) { return static_cast<int>(std::lround(v * kScale)); }

  template <typename Draw>
  void Shape(COLORREF fill, Draw draw) {
    UniqueBrush brush(CreateSolidBrush(fill));
    const SelectedObject selectedBrush(dc_, brush.get());
    const SelectedObject noPen(dc_, GetStockObject(NULL_PEN));
    draw();
  }

  int width_, height_;
  UniqueMemoryDC memory_;
  HDC dc_;
  // Declared after the bitmap: the bitmap is put out of the DC before it goes.
  UniqueBitmap bitmap_;
  std::optional<SelectedObject> selected_;
  std::uint32_t* bits_ = nullptr;
};

// Points in sixteenths of a final pixel, so that shapes can be laid out on a
// fraction of the picture's size.
POINT P(double x, double y) { return {std::lround(x * 16), std::lround(y * 16)}; }

const COLORREF kNavy = RGB(16, 42, 96);
const COLORREF kBlue = RGB(0, 92, 190);
const COLORREF kSky = RGB(120, 180, 240);
const COLORREF kGreen = RGB(34, 150, 60);
const COLORREF kAmber = RGB(245, 180, 20);
const COLORREF kInk = RGB(32, 32, 32);
const COLORREF kWhite = RGB(255, 255, 255);

// A database: a cylinder of three stacked discs.
void Database(Canvas& c, double x, double y, double w, double h, COLORREF body, COLORREF rim) {
  const double lid = h * 0.22;
  c.Rect(x, y + lid / 2, w, h - lid, body);
  c.Ellipse(x, y + h - lid, w, lid, body);
  for (int band = 1; band <= 2; ++band) {
    const double by = y + (h - lid) * band / 3.0;
    c.Ellipse(x, by, w, lid, rim);
    c.Ellipse(x, by - lid * 0.18, w, lid, body);
  }
  c.Ellipse(x, y, w, lid, rim);
  c.Ellipse(x + w * 0.06, y + lid * 0.12, w * 0.88, lid * 0.76, Canvas::Mix(rim, kWhite, 0.35));
}

void CheckMark(Canvas& c, double x, double y, double s, double width, COLORREF colour) {
  c.Stroke(
      {P(x + s * 0.18, y + s * 0.52), P(x + s * 0.42, y + s * 0.76), P(x + s * 0.84, y + s * 0.26)},
      width, colour);
}

void Exclamation(Canvas& c, double cx, double top, double bottom, double width, COLORREF colour) {
  c.Stroke({P(cx, top), P(cx, bottom - width * 1.9)}, width, colour);
  c.Ellipse(cx - width * 0.62, bottom - width * 1.1, width * 1.24, width * 1.24, colour);
}

void OkIcon(Canvas& c, double s) {
  c.Ellipse(0.5, 0.5, s - 1, s - 1, kGreen);
  CheckMark(c, 0, 0, s, s * 0.14, kWhite);
}

void ProblemIcon(Canvas& c, double box) {
  // A warning triangle with a dark edge, in the left part of its box: the
  // description beside it starts where the box's right quarter begins.
  const double s = box * 0.78, y = (box - s) / 2;
  c.Polygon({P(s / 2, y + 0.5), P(s - 0.5, y + s - 1.0), P(0.5, y + s - 1.0)}, RGB(150, 100, 0));
  c.Polygon({P(s / 2, y + 2.0), P(s - 2.0, y + s - 2.0), P(2.0, y + s - 2.0)}, kAmber);
  Exclamation(c, s / 2, y + s * 0.33, y + s * 0.86, s * 0.1, kInk);
}

void DownArrow(Canvas& c, double w, double h) {
  c.Rect(w * 0.38, h * 0.05, w * 0.24, h * 0.5, kBlue);
  c.Polygon({P(w * 0.08, h * 0.48), P(w * 0.92, h * 0.48), P(w * 0.5, h * 0.95)}, kBlue);
}

void Repairing(Canvas& c, double s) {
  Database(c, s * 0.08, s * 0.1, s * 0.6, s * 0.8, kBlue, kSky);
  // A wrench across the lower right.
  c.Stroke({P(s * 0.5, s * 0.92), P(s * 0.82, s * 0.6)}, s * 0.13, RGB(90, 90, 96));
  c.Ellipse(s * 0.7, s * 0.38, s * 0.28, s * 0.28, RGB(90, 90, 96));
  c.Ellipse(s * 0.8, s * 0.36, s * 0.14, s * 0.14, kSky);
}

void BigPicture(Canvas& c, double w, double h) {
  c.Gradient(kNavy, RGB(40, 110, 200));
  // Quiet rings in the background.
  for (int i = 0; i < 3; ++i) {
    const double r = w * (0.9 + 0.35 * i);
    c.Ellipse(w * 0.55 - r / 2, h * 0.18 - r / 2, r, r,
              Canvas::Mix(kNavy, kSky, 0.08 + 0.04 * (2 - i)));
  }
  const double dw = w * 0.5, dh = dw * 1.15, dx = (w - dw) / 2, dy = h * 0.36;
  Database(c, dx, dy, dw, dh, RGB(230, 240, 252), RGB(150, 190, 235));
  // The badge: repaired and checked.
  const double b = w * 0.3;
  c.Ellipse(dx + dw - b * 0.55 - 2, dy + dh - b * 0.6 - 2, b + 4, b + 4, kWhite);
  c.Ellipse(dx + dw - b * 0.55, dy + dh - b * 0.6, b, b, kGreen);
  CheckMark(c, dx + dw - b * 0.55, dy + dh - b * 0.6, b, b * 0.13, kWhite);
  // A light floor line under the motif.
  c.Rect(w * 0.12, dy + dh + w * 0.32, w * 0.76, 1, Canvas::Mix(kSky, kWhite, 0.5));
}

}  // namespace

UniqueBitmap DrawArtwork(Artwork art, int width, int height, COLORREF background) {
  if (width <= 0 || height <= 0) return {};
  Canvas c(width, height, background);
  if (!c.ok()) return {};
  const double w = width, h = height, s = std::min(w, h);
  switch (art) {
    case Artwork::BigPicture:
      BigPicture(c, w, h);
      break;
    case Artwork::OkIcon:
      OkIcon(c, s);
      break;
    case Artwork::ProblemIcon:
      ProblemIcon(c, s);
      break;
    case Artwork::Repairing:
      Repairing(c, s);
      break;
    case Artwork::DownArrow:
      DownArrow(c, w, h);
      break;
    case Artwork::None:
      break;
  }
  return c.Result();
}

UniqueBitmap DrawListImage(ListImage image, int size) {
  Canvas c(size, size, kListMaskColour);
  if (!c.ok()) return {};
  const double s = size;
  if (image == ListImage::Match) {
    CheckMark(c, 0, 0, s, s * 0.17, kBlue);
  } else {
    c.Ellipse(0.5, 0.5, s - 1, s - 1, kInk);
    c.Ellipse(1.5, 1.5, s - 3, s - 3, RGB(255, 214, 0));
    Exclamation(c, s / 2, s * 0.22, s * 0.82, s * 0.13, kInk);
  }
  return c.Result();
}
