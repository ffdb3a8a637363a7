#include "reports/LayoutRecorder.h"

#include "common/Cp932.h"

#include <QSize>

namespace tavro::reports {

namespace {

QString paperName(PrintTarget::Paper paper) {
    return paper == PrintTarget::Paper::A3 ? QStringLiteral("A3") : QStringLiteral("A4");
}

// A4 and A3 in millimetres (portrait).
QSize paperMillimetres(PrintTarget::Paper paper) {
    return paper == PrintTarget::Paper::A3 ? QSize(297, 420) : QSize(210, 297);
}

} // namespace

LayoutRecorder::LayoutRecorder(std::unique_ptr<PageCanvas> inner, const PrintTarget::Job &job, int dpi)
    : m_inner(std::move(inner)), m_job(job), m_dpi(dpi) {
    m_pages.emplace_back();
}

LayoutRecorder::~LayoutRecorder() {
    if (m_finished)
        m_finished(layout());
}

void LayoutRecorder::setTitle(const QString &title) {
    m_job.title = title;
    if (m_inner)
        m_inner->setTitle(title);
}

void LayoutRecorder::setOrientation(Orientation orientation) {
    m_job.orientation = orientation;
    if (m_inner)
        m_inner->setOrientation(orientation);
}

bool LayoutRecorder::begin() {
    return !m_inner || m_inner->begin();
}

bool LayoutRecorder::newPage() {
    m_pages.emplace_back();
    return !m_inner || m_inner->newPage();
}

bool LayoutRecorder::end() {
    return !m_inner || m_inner->end();
}

int LayoutRecorder::dpiX() const {
    return m_inner ? m_inner->dpiX() : m_dpi;
}

int LayoutRecorder::dpiY() const {
    return m_inner ? m_inner->dpiY() : m_dpi;
}

int LayoutRecorder::pageWidth() const {
    if (m_inner)
        return m_inner->pageWidth();
    const QSize mm = paperMillimetres(m_job.paper);
    const int w = m_job.orientation == Orientation::Landscape ? mm.height() : mm.width();
    return int(w * m_dpi / 25.4);
}

int LayoutRecorder::pageHeight() const {
    if (m_inner)
        return m_inner->pageHeight();
    const QSize mm = paperMillimetres(m_job.paper);
    const int h = m_job.orientation == Orientation::Landscape ? mm.width() : mm.height();
    return int(h * m_dpi / 25.4);
}

void LayoutRecorder::setFont(const Font &font) {
    m_font = font;
    if (m_inner)
        m_inner->setFont(font);
}

void LayoutRecorder::setPenWidth(int pixels) {
    m_pen = pixels;
    if (m_inner)
        m_inner->setPenWidth(pixels);
}

void LayoutRecorder::add(const QJsonObject &op) {
    m_pages.back().append(op);
}

void LayoutRecorder::text(int x, int y, const QString &text) {
    add(QJsonObject{{QStringLiteral("op"), QStringLiteral("text")},
                    {QStringLiteral("x"), x},
                    {QStringLiteral("y"), y},
                    {QStringLiteral("text"), text},
                    {QStringLiteral("font"), m_font.family},
                    {QStringLiteral("pointSize"), m_font.pointSize},
                    {QStringLiteral("escapement"), m_font.escapement},
                    {QStringLiteral("vertical"), m_font.vertical}});
    if (m_inner)
        m_inner->text(x, y, text);
}

int LayoutRecorder::textWidth(const QString &text) const {
    if (m_inner)
        return m_inner->textWidth(text);
    // Without a device: half a point-size em per byte.
    return int(cp932::byteLength(text) * m_font.pointSize * m_dpi / 72.0 / 2.0);
}

void LayoutRecorder::line(int x1, int y1, int x2, int y2) {
    add(QJsonObject{{QStringLiteral("op"), QStringLiteral("line")},
                    {QStringLiteral("x1"), x1},
                    {QStringLiteral("y1"), y1},
                    {QStringLiteral("x2"), x2},
                    {QStringLiteral("y2"), y2},
                    {QStringLiteral("width"), m_pen}});
    if (m_inner)
        m_inner->line(x1, y1, x2, y2);
}

void LayoutRecorder::rectangle(int left, int top, int right, int bottom) {
    add(QJsonObject{{QStringLiteral("op"), QStringLiteral("rect")},
                    {QStringLiteral("left"), left},
                    {QStringLiteral("top"), top},
                    {QStringLiteral("right"), right},
                    {QStringLiteral("bottom"), bottom},
                    {QStringLiteral("width"), m_pen}});
    if (m_inner)
        m_inner->rectangle(left, top, right, bottom);
}

QJsonObject LayoutRecorder::layout() const {
    QJsonArray pages;
    for (const QJsonArray &ops : m_pages)
        pages.append(QJsonObject{{QStringLiteral("ops"), ops}});
    return QJsonObject{{QStringLiteral("title"), m_job.title},
                       {QStringLiteral("paper"), paperName(m_job.paper)},
                       {QStringLiteral("orientation"), m_job.orientation == Orientation::Landscape
                                                           ? QStringLiteral("landscape")
                                                           : QStringLiteral("portrait")},
                       {QStringLiteral("dpi"), QJsonArray{dpiX(), dpiY()}},
                       {QStringLiteral("copies"), m_job.copies},
                       {QStringLiteral("pages"), pages}};
}

PrintTarget::Opened RecordingPrintTarget::open(const Job &job) {
    ++m_jobs;
    Opened inner;
    if (!m_inner && job.fromPage > 0 && m_from > 0) {
        inner.fromPage = m_from;
        inner.toPage = m_to;
    }
    if (m_inner) {
        inner = m_inner->open(job);
        if (!inner.canvas)
            return inner;
    }
    auto recorder = std::make_unique<LayoutRecorder>(std::move(inner.canvas), job, m_dpi);
    m_layout = QJsonObject();
    recorder->onFinished([this](const QJsonObject &layout) { m_layout = layout; });
    Opened opened;
    opened.canvas = std::move(recorder);
    opened.fromPage = inner.fromPage;
    opened.toPage = inner.toPage;
    return opened;
}

} // namespace tavro::reports
