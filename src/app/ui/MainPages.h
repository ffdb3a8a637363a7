#pragma once

#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

// The pieces the pages of the main menu are built from.
namespace tavro::mainui {

inline QString u(const char *text) {
    return QString::fromUtf8(text);
}

// "1年生" .. "6年生".
QStringList gradeItems();
// The banner-coloured heading of a page.
QLabel *heading(const QString &text);
// The underlined heading of a sub-page.
QLabel *subHeading(const QString &text);
QPushButton *actionButton(const QString &text, bool enabled = false);
QVBoxLayout *pageLayout(QWidget *page);

} // namespace tavro::mainui
