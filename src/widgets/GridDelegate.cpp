#include "widgets/GridDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

namespace tavro {

struct GridDelegate::Layout {
    QTextLayout text;
    qreal height = 0;
    bool fits = true;
};

GridDelegate::GridDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

GridDelegate::~GridDelegate() = default;

const GridDelegate::Layout *GridDelegate::layout(const QStyleOptionViewItem &option, int width) const {
    const Qt::Alignment alignment = QStyle::visualAlignment(option.direction, option.displayAlignment);
    if (!(option.font == m_font) || m_fontKey.isEmpty()) {
        m_font = option.font;
        m_fontKey = option.font.key();
    }
    QString key = m_fontKey;
    key += QChar(u'\x1f');
    key += QString::number(width);
    key += QChar(u'\x1f');
    key += QString::number(int(alignment) | (option.direction == Qt::RightToLeft ? 0x10000000 : 0) |
                           (option.features & QStyleOptionViewItem::WrapText ? 0x20000000 : 0));
    key += QChar(u'\x1f');
    key += option.text;
    if (const auto it = m_layouts.constFind(key); it != m_layouts.constEnd())
        return it->get();
    if (m_layouts.size() >= 8192)
        m_layouts.clear();
    auto l = std::make_shared<Layout>();
    l->text.setText(option.text);
    l->text.setFont(option.font);
    QTextOption textOption;
    textOption.setWrapMode(option.features & QStyleOptionViewItem::WrapText ? QTextOption::WordWrap
                                                                            : QTextOption::ManualWrap);
    textOption.setTextDirection(option.direction);
    textOption.setAlignment(alignment);
    l->text.setTextOption(textOption);
    l->text.setCacheEnabled(true);
    l->text.beginLayout();
    int lines = 0;
    for (QTextLine line = l->text.createLine(); line.isValid(); line = l->text.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, l->height));
        l->height += line.height();
        l->fits = l->fits && line.naturalTextWidth() <= width;
        ++lines;
    }
    l->text.endLayout();
    l->fits = l->fits && lines == 1;
    return m_layouts.insert(key, std::move(l))->get();
}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    constexpr auto kOwnDrawing =
        QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;
    if ((opt.features & kOwnDrawing) || (opt.state & (QStyle::State_HasFocus | QStyle::State_Editing)) ||
        opt.text.contains(QChar::LineSeparator) || opt.text.contains(u'\n')) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = opt.rect.adjusted(margin, 0, -margin, 0);
    const Layout *l = opt.text.isEmpty() ? nullptr : layout(opt, textRect.width());
    if (l && !l->fits) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->save();
    painter->setClipRect(opt.rect);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
    if (l) {
        QPalette::ColorGroup group =
            opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !(opt.state & QStyle::State_Active))
            group = QPalette::Inactive;
        painter->setPen(opt.palette.color(
            group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect box = QStyle::alignedRect(opt.direction, opt.displayAlignment & Qt::AlignVertical_Mask,
                                              QSize(textRect.width(), int(l->height)), textRect);
        l->text.draw(painter, QPointF(textRect.x(), box.top()));
    }
    painter->restore();
}

} // namespace tavro
