#pragma once
// CTavrelImage: one decoded picture of the calendar — a background, a month title, a day bar, an
// icon file named by an event, or one of the program's built-in images — and the four ways the
// views draw it: a plain copy, a stretched copy, a copy with one colour left out, and a blend at a
// fade level.
//
// A picture is decoded once: loading the file it already holds (the path compared without regard
// to case) or the resource it already holds returns at once. A load that fails keeps what the
// picture held before. Drawing a picture that holds nothing draws nothing.
//
// Every surface of the platform has the same pixel format (32-bit 0x00BBGGRR), so, unlike on the
// handheld, a picture needs no device context to be made compatible with: loads take none, and
// the drawing operations take the painter they draw into.
//
// The colour 0xC0C0C0 is special. DrawTransparent reads it as "the colour of the picture's
// top-left pixel", which is how built-in icons and icon files mark their background. Blend reads
// it as "no transparent colour at all".

#include "common/QoString.h"
#include "platform/gfx/Colour.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/ResourceTable.h"
#include "platform/gfx/Surface.h"

#include <optional>

class CTavrelImage {
public:
    // The colour value that DrawTransparent takes for the top-left pixel and Blend for "none".
    static constexpr gfx::Colour TopLeftColour = 0xC0C0C0;

    CTavrelImage();
    virtual ~CTavrelImage();
    CTavrelImage(const CTavrelImage&) = delete;
    CTavrelImage& operator=(const CTavrelImage&) = delete;

    // Decodes a GIF, JPEG, PNG or BMP file given by its device path. False when the file cannot
    // be opened or read or does not decode; the picture then keeps what it held.
    bool LoadFile(const char16_t* path);
    // Decodes the image resource `id` (type "IMAGE") of `module`, or of the program's own
    // resources when `module` is null. False when there is no such resource or it does not decode.
    bool LoadResource(int id, const gfx::ResourceTable* module = nullptr);
    // Lets go of the picture: it holds nothing afterwards, as before its first load.
    void Release();
    // A picture larger than maxWidth × maxHeight becomes a copy of at most that size, stretched
    // with its proportions kept; its name or resource stays. A smaller one is left as it is.
    // False when the picture holds nothing or the copy cannot be made.
    bool ShrinkToFit(int maxWidth, int maxHeight);

    // A copy at the picture's own size when width and height are both -1; otherwise the whole
    // picture stretched to width × height (a single -1 stands for the picture's own extent).
    void Draw(gfx::Painter& dc, int x, int y, int width = -1, int height = -1) const;
    // The whole picture stretched to width × height (-1: the picture's own extent), leaving out
    // its pixels of `colour`; TopLeftColour stands for the colour of the top-left pixel.
    void DrawTransparent(gfx::Painter& dc, int x, int y, int width, int height, gfx::Colour colour) const;
    // Lays the picture, stretched to width × height (-1: its own extent), over what `dc` holds at
    // (x, y) with the opacity `level` in percent (0 leaves `dc` as it was, 100 puts the picture
    // there): each colour byte becomes under × (100 − level) ÷ 100 + picture × level ÷ 100, each
    // product divided on its own with the remainder dropped. Pixels of `colour` keep what lies
    // under them; TopLeftColour means no colour is left out. Levels beyond 0 to 100 are taken as
    // the nearest end. False when nothing was drawn (no picture, an empty or oversized area).
    bool Blend(gfx::Painter& dc, int x, int y, int level, int width, int height, gfx::Colour colour) const;

    // The colour of a pixel of the picture: 0 while the picture holds nothing, CLR_INVALID outside it.
    gfx::Colour GetPixel(int x, int y) const;
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    bool IsLoaded() const { return m_bitmap.has_value(); }
    // The device path of the file the picture holds; empty for a resource and before any load.
    const CQoString& GetName() const { return m_name; }
    int GetResourceId() const { return m_resourceId; }
    // The decoded pixels, or null while the picture holds nothing.
    const gfx::Surface* GetBitmap() const { return m_bitmap ? &*m_bitmap : nullptr; }

    // A new bitmap for the caller: a white canvas with the picture drawn at its top-left at
    // width × height, its top-left pixel colour left out. A -1 side follows from the other one and
    // the picture's proportions (both -1: the picture's own size). The canvas is canvasWidth ×
    // canvasHeight when both are given, else a square of the larger side. Empty when the picture
    // holds nothing or the sizes make no picture.
    gfx::Surface MakeThumbnail(int width, int height, int canvasWidth = -1, int canvasHeight = -1) const;

private:
    void Adopt(gfx::Surface&& bitmap);
    gfx::Colour TransparentKey(gfx::Colour colour) const;

    CQoString m_name;
    const gfx::ResourceTable* m_module = nullptr;
    int m_resourceId = 0;
    int m_height = 0;
    int m_width = 0;
    std::optional<gfx::Surface> m_bitmap;
};
