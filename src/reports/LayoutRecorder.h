#pragma once

#include "platform/PageCanvas.h"
#include "platform/PrintTarget.h"

#include <QJsonArray>
#include <QJsonObject>

#include <functional>
#include <memory>

namespace tavro::reports {

// A canvas that records every text, line and rectangle in device pixels while it passes them on to
// another canvas (or to none), page by page, as the layout JSON of tavro-cli print.
class LayoutRecorder final : public PageCanvas {
public:
    // `inner` may be null (record only, at `dpi`).
    LayoutRecorder(std::unique_ptr<PageCanvas> inner, const PrintTarget::Job &job, int dpi = 600);
    // Gets the layout when the recorder goes (the document has finished with its canvas).
    void onFinished(std::function<void(const QJsonObject &)> finished) { m_finished = std::move(finished); }
    ~LayoutRecorder() override;

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

    // {"title", "paper", "orientation", "dpi": [x, y], "copies", "pages": [{"ops": [...]}]}
    QJsonObject layout() const;
    int pageCount() const { return int(m_pages.size()); }

private:
    void add(const QJsonObject &op);

    std::unique_ptr<PageCanvas> m_inner;
    PrintTarget::Job m_job;
    int m_dpi;
    Font m_font;
    int m_pen = 1;
    std::vector<QJsonArray> m_pages;
    std::function<void(const QJsonObject &)> m_finished;
};

// A print target that records the layout, passing the pages on to another target's canvas when given.
class RecordingPrintTarget final : public PrintTarget {
public:
    explicit RecordingPrintTarget(PrintTarget *inner = nullptr, int dpi = 600) : m_inner(inner), m_dpi(dpi) {}
    // The range chosen when there is no inner target (as a user would in the dialog); 0: every page.
    void setPageRange(int from, int to) {
        m_from = from;
        m_to = to;
    }
    Opened open(const Job &job) override;
    // The jobs opened so far.
    int jobs() const { return m_jobs; }
    // The layout of the last job once its canvas is gone; empty before.
    const QJsonObject &layout() const { return m_layout; }

private:
    PrintTarget *m_inner;
    int m_dpi;
    int m_from = 0;
    int m_to = 0;
    int m_jobs = 0;
    QJsonObject m_layout;
};

} // namespace tavro::reports
