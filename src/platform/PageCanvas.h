#pragma once

#include <QString>

namespace tavro {

// A printer canvas in device pixels: text, lines and rectangles, fonts (with rotation), pages and
// the document title. Documents compute pixel positions from the resolution; the desktop draws with
// QPainter on a printer or a PDF writer, the tests record the operations.
class PageCanvas {
public:
    enum class Orientation { Portrait, Landscape };
    struct Font {
        QString family; // "ＭＳ 明朝", "ＭＳ ゴシック", "ＭＳ Ｐ明朝"
        double pointSize = 10.0;
        bool bold = false;
        int escapement = 0;    // tenths of a degree, counter-clockwise (900 = turned 90°)
        bool vertical = false; // vertical writing face ("@" + family)
    };

    virtual ~PageCanvas() = default;

    virtual void setTitle(const QString &title) = 0;
    virtual void setOrientation(Orientation orientation) = 0;
    // Begins the document; false when the device cannot be opened. newPage() and end() are false when
    // the device failed (a printer gone, a disk full); a document stops there and says so.
    virtual bool begin() = 0;
    virtual bool newPage() = 0;
    virtual bool end() = 0;
    // Why begin(), newPage() or end() failed, when the canvas knows more than that it did.
    virtual QString errorString() const { return {}; }

    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    virtual int pageWidth() const = 0;  // pixels
    virtual int pageHeight() const = 0; // pixels

    virtual void setFont(const Font &font) = 0;
    // Pen width in pixels (1 for inner rules).
    virtual void setPenWidth(int pixels) = 0;
    // Text with its top-left at (x, y); with a rotated font (x, y) is the rotation origin.
    virtual void text(int x, int y, const QString &text) = 0;
    virtual int textWidth(const QString &text) const = 0;
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    virtual void rectangle(int left, int top, int right, int bottom) = 0;
};

} // namespace tavro
