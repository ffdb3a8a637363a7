#pragma once

#include <QColor>
#include <QWidget>

namespace tavro {

// The program's header: a horizontal gradient with the program glyph at its left edge. Labels and
// controls are placed on it through an ordinary layout (the glyph's width is left free).
class GradientBanner : public QWidget {
public:
    explicit GradientBanner(QWidget *parent = nullptr);

    void setColors(const QColor &from, const QColor &to);
    // Room taken by the glyph at the left edge.
    int glyphWidth() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_from{0, 0, 0};
    QColor m_to{0, 64, 224};
};

// The program glyph (a marked sheet) drawn into `rect`.
void paintProgramGlyph(class QPainter &painter, const QRectF &rect);

} // namespace tavro
