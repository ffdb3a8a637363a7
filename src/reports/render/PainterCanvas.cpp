#include "reports/render/PainterCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPdfWriter>
#include <QPen>
#include <QTextLayout>

#include <algorithm>

namespace tavro {

namespace {

QFont qtFont(const PageCanvas::Font &f, QPaintDevice *device) {
    QFont font(f.family);
    font.setPointSizeF(f.pointSize > 0 ? f.pointSize : 10.0);
    font.setBold(f.bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    Q_UNUSED(device);
    return font;
}

} // namespace

void PainterCanvas::installFontSubstitutes() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // The faces asked for first (the Windows faces on Windows, the IPA faces elsewhere), then every other
    // Japanese face either system may have, so a document never falls back to a face without kana.
#ifdef Q_OS_WIN
    const QStringList mincho{QStringLiteral("MS Mincho"), QStringLiteral("Yu Mincho"),
                             QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝")};
    const QStringList pmincho{QStringLiteral("MS PMincho"), QStringLiteral("Yu Mincho"),
                              QStringLiteral("IPAPMincho"), QStringLiteral("IPAP明朝")};
    const QStringList gothic{QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                             QStringLiteral("IPAゴシック")};
#else
    const QStringList mincho{QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝"),
                             QStringLiteral("MS Mincho")};
    const QStringList pmincho{QStringLiteral("IPAPMincho"), QStringLiteral("IPAP明朝"),
                              QStringLiteral("MS PMincho")};
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                             QStringLiteral("MS Gothic")};
#endif
    const QStringList anyJapanese{QStringLiteral("Yu Gothic"),        QStringLiteral("Meiryo"),
                                  QStringLiteral("MS UI Gothic"),     QStringLiteral("IPAPGothic"),
                                  QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Serif CJK JP"),
                                  QStringLiteral("VL Gothic"),        QStringLiteral("TakaoGothic")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), mincho + anyJapanese);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), pmincho + anyJapanese);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic + anyJapanese);
}

PainterCanvas::PainterCanvas(QPagedPaintDevice *device, QPrinter *printer)
    : m_device(device), m_printer(printer) {
    installFontSubstitutes();
}

PainterCanvas::PainterCanvas(std::unique_ptr<QPagedPaintDevice> device, QPrinter *printer)
    : m_owned(std::move(device)), m_device(m_owned.get()), m_printer(printer) {
    installFontSubstitutes();
}

PainterCanvas::~PainterCanvas() {
    if (m_painter.isActive()) {
        flushText();
        m_painter.end();
    }
}

void PainterCanvas::setTitle(const QString &title) {
    m_title = title;
    if (auto *pdf = dynamic_cast<QPdfWriter *>(m_device))
        pdf->setTitle(title);
}

void PainterCanvas::setOrientation(Orientation orientation) {
    m_device->setPageOrientation(orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                       : QPageLayout::Portrait);
}

bool PainterCanvas::begin() {
    if (!m_painter.begin(m_device))
        return false;
    // The painter starts in the device's font; the fonts of an earlier job stay valid on the device.
    m_initial = std::make_unique<FontState>(
        FontState{m_font, m_painter.font(), QFontMetrics(m_painter.font(), m_device), 0, {}});
    m_initial->ascent = m_initial->metrics.ascent();
    m_current = m_initial.get();
    // A picture recorder (the print preview) stores a glyph run as outlines, many times the size of
    // the text it stores for drawText.
    m_glyphRuns = m_painter.paintEngine() && m_painter.paintEngine()->type() != QPaintEngine::Picture;
    setPenWidth(1);
    return true;
}

bool PainterCanvas::newPage() {
    if (!m_painter.isActive())
        return false;
    flushText();
    return m_device->newPage();
}

bool PainterCanvas::end() {
    if (!m_painter.isActive())
        return false;
    flushText();
    m_current = nullptr;
    return m_painter.end();
}

int PainterCanvas::dpiX() const {
    return m_device->logicalDpiX();
}

int PainterCanvas::dpiY() const {
    return m_device->logicalDpiY();
}

int PainterCanvas::pageWidth() const {
    return m_device->width();
}

int PainterCanvas::pageHeight() const {
    return m_device->height();
}

void PainterCanvas::setFont(const Font &font) {
    m_font = font;
    if (!m_painter.isActive()) {
        m_painter.setFont(qtFont(font, m_device));
        return;
    }
    const auto same = [&font](const Font &f) {
        return f.family == font.family && f.pointSize == font.pointSize && f.bold == font.bold &&
               f.escapement == font.escapement && f.vertical == font.vertical;
    };
    if (m_current && m_current != m_initial.get() && same(m_current->font))
        return;
    for (const std::unique_ptr<FontState> &state : m_fonts)
        if (same(state->font)) {
            m_current = state.get();
            m_painter.setFont(state->painterFont);
            return;
        }
    m_painter.setFont(qtFont(font, m_device));
    m_fonts.push_back(std::make_unique<FontState>(
        FontState{font, m_painter.font(), QFontMetrics(m_painter.font(), m_device), 0, {}}));
    m_current = m_fonts.back().get();
    m_current->ascent = m_current->metrics.ascent();
}

const PainterCanvas::Shaped &PainterCanvas::shaped(const QString &text) {
    auto it = m_current->shaped.constFind(text);
    if (it != m_current->shaped.constEnd())
        return *it;
    // Bounded: a document of thousands of distinct names and comments does not keep them all.
    if (m_shapedCount >= 20000) {
        for (const std::unique_ptr<FontState> &state : m_fonts)
            state->shaped.clear();
        m_initial->shaped.clear();
        m_shapedCount = 0;
    }
    QTextLayout layout(text, m_current->painterFont, m_device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    Shaped s;
    s.baseline = line.isValid() ? line.ascent() : 0;
    s.runs = layout.glyphRuns();
    s.advance = QFontMetricsF(m_current->painterFont, m_device).horizontalAdvance(text);
    ++m_shapedCount;
    return *m_current->shaped.insert(text, std::move(s));
}

void PainterCanvas::queue(const QPointF &origin, const QGlyphRun &run) {
    if (run.overline() || run.underline() || run.strikeOut()) {
        // Decorations span their own run.
        flushText();
        m_painter.drawGlyphRun(origin, run);
        return;
    }
    const QRawFont font = run.rawFont();
    PendingRun *pending = nullptr;
    for (PendingRun &p : m_pending)
        if (p.flags == run.flags() && p.font == font) {
            pending = &p;
            break;
        }
    if (!pending) {
        m_pending.push_back(PendingRun{font, run.flags(), {}, {}});
        pending = &m_pending.back();
    }
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    // As QPainter::drawGlyphRun places them: the origin plus each glyph's position.
    const qsizetype count = std::min(glyphs.size(), positions.size());
    for (qsizetype i = 0; i < count; ++i) {
        pending->glyphs.append(glyphs[i]);
        pending->positions.append(origin + positions[i]);
    }
}

void PainterCanvas::flushText() {
    for (const PendingRun &p : m_pending) {
        QGlyphRun run;
        run.setRawFont(p.font);
        run.setGlyphIndexes(p.glyphs);
        run.setPositions(p.positions);
        run.setFlags(p.flags);
        m_painter.drawGlyphRun(QPointF(), run);
    }
    m_pending.clear();
}

void PainterCanvas::setPenWidth(int pixels) {
    flushText();
    QPen pen(Qt::black);
    pen.setWidth(pixels < 1 ? 1 : pixels);
    pen.setCapStyle(Qt::SquareCap);
    m_painter.setPen(pen);
}

void PainterCanvas::text(int x, int y, const QString &text) {
    if (!m_current)
        return;
    if (m_font.escapement == 0 && !m_font.vertical) {
        // As drawText at the baseline, with the shaping cached and the blanks around the text left out
        // (the PDF writer puts out every glyph, blanks included); the visible glyphs land where drawText
        // puts them.
        const auto blank = [](QChar c) { return c == u' ' || c == QChar(0x3000); };
        qsizetype first = 0, last = text.size();
        while (first < last && blank(text[first]))
            ++first;
        while (last > first && blank(text[last - 1]))
            --last;
        if (first == last)
            return;
        if (!m_glyphRuns) {
            m_painter.drawText(QPoint(x, y + m_current->ascent), text);
            return;
        }
        const qreal offset = first == 0 ? 0 : shaped(text.left(first)).advance;
        const Shaped &s = shaped(first == 0 && last == text.size() ? text : text.mid(first, last - first));
        const QPointF origin(x + offset, y + m_current->ascent - s.baseline);
        for (const QGlyphRun &run : s.runs)
            queue(origin, run);
        return;
    }
    flushText();
    const QFontMetrics &metrics = m_current->metrics;
    m_painter.save();
    m_painter.translate(x, y);
    if (m_font.vertical) {
        // One character under the other, ending at the origin (text aligned at its bottom).
        const int step = metrics.height();
        int cy = -step * static_cast<int>(text.size());
        for (const QChar c : text) {
            m_painter.drawText(QPoint(0, cy + metrics.ascent()), QString(c));
            cy += step;
        }
    } else {
        m_painter.rotate(-m_font.escapement / 10.0);
        m_painter.drawText(QPoint(0, metrics.ascent()), text);
    }
    m_painter.restore();
}

int PainterCanvas::textWidth(const QString &text) const {
    if (!m_current)
        return QFontMetrics(m_painter.font(), m_device).horizontalAdvance(text);
    return m_current->metrics.horizontalAdvance(text);
}

void PainterCanvas::line(int x1, int y1, int x2, int y2) {
    flushText();
    m_painter.drawLine(x1, y1, x2, y2);
}

void PainterCanvas::rectangle(int left, int top, int right, int bottom) {
    flushText();
    m_painter.drawRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
}

} // namespace tavro
