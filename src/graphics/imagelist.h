#pragma once

namespace orvela {

// A list of equally sized 32-bit pictures with per-pixel alpha. The core sees only the
// sizes; the pixels belong to the platform layer, whose drawing surface knows how to blend
// its own lists (TCanvas::DrawImage).
class TImageList {
 public:
  TImageList() = default;
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;
  virtual ~TImageList() = default;

  // Size of one picture in device pixels.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual int Count() const = 0;
};

// A list with sizes but no pixels, for drawing and hit tests without a platform layer.
class TBlankImageList final : public TImageList {
 public:
  TBlankImageList(int width, int height, int count)
      : FWidth(width), FHeight(height), FCount(count) {}

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  int Count() const override { return FCount; }

 private:
  int FWidth;
  int FHeight;
  int FCount;
};

}  // namespace orvela
