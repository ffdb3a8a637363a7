#pragma once

#include "config/SettingsEditor.h"

#include <QString>
#include <QStringList>

#include <array>
#include <initializer_list>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
class QWidget;

namespace tavro {

class RadioGroup;

// The controls the pages of "各種設定" are built from, each named for the window's tests.
namespace settingsui {

QLabel *note(const QString &text);
QPushButton *button(const QString &name, const QString &text);
// "三学期制デフォルト" and "前後期制デフォルト" buttons filling five name boxes; `prefix` names them.
QVBoxLayout *defaultButtons(const QString &prefix, const std::array<QLineEdit *, 5> &edits,
                            std::array<QString, 5> (*defaults)(SettingsEditor::Term));
QLineEdit *lineEdit(const QString &name, int width = 0);
QComboBox *comboBox(const QString &name, const QStringList &items);
QSpinBox *spinBox(const QString &name, int low, int high);
RadioGroup *radioGroup(const QString &name, const QString &title, const QStringList &items, int columns = 1);
QCheckBox *checkBox(const QString &name, const QString &text);
// A page: its content at the top, the notes below, free space at the bottom.
QWidget *page(QLayout *content, const QStringList &notes = {});
QHBoxLayout *row(std::initializer_list<QWidget *> widgets, bool stretch = true);
QGroupBox *framed(const QString &title, QLayout *content);

} // namespace settingsui
} // namespace tavro
