#pragma once

#include "platform/PageCanvas.h"

#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPainter>
#include <QPointer>
#include <memory>

class QPagedPaintDevice;
class QPrinter;

namespace tavro {

// PageCanvas on a paged Qt device: a QPrinter or a QPdfWriter. The Windows font names of the
// documents are mapped to the installed Japanese faces.
class PainterCanvas final : public PageCanvas {
public:
    // `device` is not owned. A QPrinter gets the title and orientation through its own API.
    explicit PainterCanvas(QPagedPaintDevice *device, QPrinter *printer = nullptr);
    // Owns its device (a PDF writer or a printer made for one job).
    explicit PainterCanvas(std::unique_ptr<QPagedPaintDevice> device, QPrinter *printer = nullptr);
    ~PainterCanvas() override;

    void setTitle(const QString &title) override;
    void setOrientation(Orientation orientation) override;
    bool begin() override;
    bool newPage() override;
    bool end() override;

    int dpiX() const override;
    int dpiY() const override;
    int pageWidth() const override;
    int pageHeight() const override;

    void setFont(const Font &font) override;
    void setPenWidth(int pixels) override;
    void text(int x, int y, const QString &text) override;
    int textWidth(const QString &text) const override;
    void line(int x1, int y1, int x2, int y2) override;
    void rectangle(int left, int top, int right, int bottom) override;

    // Registers substitutes for the document fonts ("ＭＳ 明朝" and the rest) once per process.
    static void installFontSubstitutes();

private:
    // A text shaped once in one font: its glyph runs with the baseline at `baseline` below the top,
    // and its advance.
    struct Shaped {
        QList<QGlyphRun> runs;
        qreal baseline = 0;
        qreal advance = 0;
    };
    const Shaped &shaped(const QString &text);
    // Takes the key and ascent of the painter's font.
    void noteFont();

    std::unique_ptr<QPagedPaintDevice> m_owned;
    QPagedPaintDevice *m_device;
    QPrinter *m_printer;
    QPainter m_painter;
    Font m_font;
    QString m_title;
    // Documents repeat the same few texts (scores, marks, captions) thousands of times: each is shaped
    // once per font. Keyed by the font's key, a separator and the text.
    QHash<QString, Shaped> m_shaped;
    QString m_fontKey;
    qreal m_ascent = 0;
};

} // namespace tavro
