#include "reports/render/WholeFileCanvas.h"

#include "reports/render/PainterCanvas.h"

#include "common/FileErrors.h"
#include "common/FileSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavro {

WholeFileCanvas::WholeFileCanvas(QString path, std::shared_ptr<void> drawnInto,
                                 std::unique_ptr<PainterCanvas> canvas,
                                 std::function<bool(QByteArray &, QString *)> output)
    : m_path(std::move(path)), m_drawnInto(std::move(drawnInto)), m_canvas(std::move(canvas)),
      m_output(std::move(output)) {}

WholeFileCanvas::~WholeFileCanvas() = default;

bool WholeFileCanvas::canWrite(const QString &path, QString *error) {
    const bool existed = QFileInfo::exists(path);
    QFile probe(path);
    if (!probe.open(existed ? QIODevice::ReadWrite : QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (error)
            *error = QStringLiteral("%1 に書き込めません: %2")
                         .arg(QDir::toNativeSeparators(path), fileerror::reason(probe));
        return false;
    }
    probe.close();
    if (!existed)
        probe.remove();
    return true;
}

void WholeFileCanvas::setTitle(const QString &title) {
    m_canvas->setTitle(title);
}
void WholeFileCanvas::setOrientation(Orientation orientation) {
    m_canvas->setOrientation(orientation);
}
bool WholeFileCanvas::begin() {
    return m_canvas->begin();
}
bool WholeFileCanvas::newPage() {
    return m_canvas->newPage();
}

bool WholeFileCanvas::end() {
    if (!m_canvas->end())
        return false;
    QByteArray bytes;
    return m_output(bytes, &m_error) && saveFileAtomically(m_path, bytes, &m_error);
}

QString WholeFileCanvas::errorString() const {
    return m_error.isEmpty() ? m_canvas->errorString() : m_error;
}

int WholeFileCanvas::dpiX() const {
    return m_canvas->dpiX();
}
int WholeFileCanvas::dpiY() const {
    return m_canvas->dpiY();
}
int WholeFileCanvas::pageWidth() const {
    return m_canvas->pageWidth();
}
int WholeFileCanvas::pageHeight() const {
    return m_canvas->pageHeight();
}

void WholeFileCanvas::setFont(const Font &font) {
    m_canvas->setFont(font);
}
void WholeFileCanvas::setPenWidth(int pixels) {
    m_canvas->setPenWidth(pixels);
}
void WholeFileCanvas::text(int x, int y, const QString &text) {
    m_canvas->text(x, y, text);
}
int WholeFileCanvas::textWidth(const QString &text) const {
    return m_canvas->textWidth(text);
}
void WholeFileCanvas::line(int x1, int y1, int x2, int y2) {
    m_canvas->line(x1, y1, x2, y2);
}
void WholeFileCanvas::rectangle(int left, int top, int right, int bottom) {
    m_canvas->rectangle(left, top, right, bottom);
}

} // namespace tavro
