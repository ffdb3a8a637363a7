#pragma once

#include "platform/PageCanvas.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace tavro {

class PainterCanvas;

// Draws through a painter canvas whose device writes into memory or a temporary file, and writes the
// output file whole when the document ends: a print that fails or stops midway (a network folder gone,
// a disk full) leaves the file that was there as it was.
class WholeFileCanvas final : public PageCanvas {
public:
    // `output` gives the drawn bytes once `canvas` has ended; `drawnInto` holds what the canvas's device
    // writes into (a buffer, a temporary folder) and goes after the canvas.
    WholeFileCanvas(QString path, std::shared_ptr<void> drawnInto, std::unique_ptr<PainterCanvas> canvas,
                    std::function<bool(QByteArray &bytes, QString *error)> output);
    ~WholeFileCanvas() override;

    // Whether `path` can be written, told before a document is drawn: an existing file is not touched,
    // a new one not left behind.
    static bool canWrite(const QString &path, QString *error);

    void setTitle(const QString &title) override;
    void setOrientation(Orientation orientation) override;
    bool begin() override;
    bool newPage() override;
    bool end() override;
    QString errorString() const override;

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

private:
    QString m_path;
    std::shared_ptr<void> m_drawnInto; // declared before the canvas, so it outlives it
    std::unique_ptr<PainterCanvas> m_canvas;
    std::function<bool(QByteArray &, QString *)> m_output;
    QString m_error;
};

} // namespace tavro
