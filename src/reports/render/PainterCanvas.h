#pragma once

#include "platform/PageCanvas.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPainter>
#include <QPointer>
#include <QRawFont>
#include <memory>
#include <vector>

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
    // Texts as cached glyph runs (PDF, printers) or as drawText (picture recorders).
    bool m_glyphRuns = true;
    struct Shaped {
        QList<QGlyphRun> runs;
        qreal baseline = 0;
        qreal advance = 0;
    };
    // What a document font resolves to on the device, made once per font: the painter's font, its
    // metrics, and the texts shaped in it.
    struct FontState {
        Font font;
        QFont painterFont;
        QFontMetrics metrics;
        qreal ascent = 0;
        QHash<QString, Shaped> shaped;
    };
    // Glyphs of one face waiting to be drawn, at their page positions.
    struct PendingRun {
        QRawFont font;
        QGlyphRun::GlyphRunFlags flags;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    const Shaped &shaped(const QString &text);
    // Draws the queued glyphs. Every other drawing operation, a new page and the end come after it, so
    // the texts are drawn as one run per face and page part instead of one per text (a PDF writer puts
    // out a text object with its colour and state for every run).
    void flushText();
    void queue(const QPointF &origin, const QGlyphRun &run);

    std::unique_ptr<QPagedPaintDevice> m_owned;
    QPagedPaintDevice *m_device;
    QPrinter *m_printer;
    QPainter m_painter;
    Font m_font;
    QString m_title;
    // The fonts met since begin(); m_current is the one set. Documents use a handful of fonts and
    // repeat the same few texts (scores, marks, captions) thousands of times: each is shaped once.
    std::vector<std::unique_ptr<FontState>> m_fonts;
    std::unique_ptr<FontState> m_initial;
    FontState *m_current = nullptr;
    int m_shapedCount = 0;
    std::vector<PendingRun> m_pending;
};

} // namespace tavro
