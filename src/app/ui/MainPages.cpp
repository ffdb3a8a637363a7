#include "app/ui/MainPages.h"

#include "widgets/UiFont.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro::mainui {

using ui::uiFont;

QStringList gradeItems() {
    QStringList items;
    for (int g = 1; g <= 6; ++g)
        items.append(QString::number(g) + u("年生"));
    return items;
}

QLabel *heading(const QString &text) {
    auto *label = new QLabel(text);
    label->setObjectName(u("Heading"));
    label->setFont(uiFont(10.5, true));
    label->setStyleSheet(u("QLabel { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #d6e2f5,"
                           " stop:1 #f5f8fd); color: #12306e; border: 1px solid #9fb3d8;"
                           " padding: 5px 4px; }"));
    return label;
}

QLabel *subHeading(const QString &text) {
    auto *label = new QLabel(text);
    label->setFont(uiFont(10.5, true));
    label->setStyleSheet(
        u("QLabel { color: #12306e; border-bottom: 2px solid #5b7fc4; padding: 2px 2px 4px 2px; }"));
    return label;
}

QPushButton *actionButton(const QString &text, bool enabled) {
    auto *b = new QPushButton(text);
    b->setMinimumSize(120, 32);
    b->setEnabled(enabled);
    return b;
}

QVBoxLayout *pageLayout(QWidget *page) {
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    return layout;
}

} // namespace tavro::mainui
