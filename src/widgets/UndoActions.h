#pragma once

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace tavro::undoactions {

// "元に戻す(&U)" and "やり直し(&R)" (object names "UndoAction" and "RedoAction") appended to `menu`;
// each calls `handler` with redo false or true.
struct Actions {
    QAction *undo = nullptr;
    QAction *redo = nullptr;
};
Actions addToMenu(QMenu *menu, const std::function<void(bool redo)> &handler);

// Ctrl+Z (undo), Ctrl+Y and Ctrl+Shift+Z (redo) while `widget` has the focus.
void installShortcuts(QWidget *widget, const std::function<void(bool redo)> &handler);

} // namespace tavro::undoactions
