#include "widgets/GradientBanner.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tavro {

GradientBanner::GradientBanner(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void GradientBanner::setColors(const QColor &from, const QColor &to) {
    m_from = from;
    m_to = to;
    update();
}

int GradientBanner::glyphWidth() const {
    return height();
}

void GradientBanner::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0.0, m_from);
    g.setColorAt(1.0, m_to);
    p.fillRect(rect(), g);
    const qreal side = height() * 0.66;
    const qreal margin = (height() - side) / 2;
    paintProgramGlyph(p, QRectF(margin + 4, margin, side, side));
}

void paintProgramGlyph(QPainter &p, const QRectF &r) {
    p.save();
    const qreal u = r.width() / 16.0;
    // The sheet, slightly tilted, with a folded corner.
    p.translate(r.center());
    p.rotate(-6);
    p.translate(-r.center());
    const QRectF sheet(r.left() + 2 * u, r.top() + u, 11 * u, 14 * u);
    QPainterPath page;
    page.moveTo(sheet.topLeft());
    page.lineTo(sheet.right() - 3 * u, sheet.top());
    page.lineTo(sheet.right(), sheet.top() + 3 * u);
    page.lineTo(sheet.bottomRight());
    page.lineTo(sheet.bottomLeft());
    page.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 60), 0.5 * u));
    p.setBrush(QColor(250, 250, 245));
    p.drawPath(page);
    p.setBrush(QColor(205, 210, 225));
    QPainterPath fold;
    fold.moveTo(sheet.right() - 3 * u, sheet.top());
    fold.lineTo(sheet.right() - 3 * u, sheet.top() + 3 * u);
    fold.lineTo(sheet.right(), sheet.top() + 3 * u);
    fold.closeSubpath();
    p.drawPath(fold);
    // Ruled lines.
    p.setPen(QPen(QColor(120, 140, 180), 0.6 * u));
    for (int i = 0; i < 4; ++i) {
        const qreal y = sheet.top() + (5 + 2.4 * i) * u;
        p.drawLine(QPointF(sheet.left() + 1.5 * u, y), QPointF(sheet.right() - 1.5 * u, y));
    }
    p.restore();
    // A red double circle, the mark of a good result.
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(220, 30, 30), 0.9 * u));
    const QPointF c(r.left() + 11.5 * u, r.top() + 11.5 * u);
    p.drawEllipse(c, 3.6 * u, 3.6 * u);
    p.drawEllipse(c, 2.0 * u, 2.0 * u);
    p.restore();
}

} // namespace tavro
