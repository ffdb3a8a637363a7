#pragma once

class QPushButton;

namespace tavro::ui {

// "プレビュー" beside a print button: its font and height, the object name of `print` with "Preview"
// appended, enabled exactly while `print` is. The caller places it.
QPushButton *previewButtonFor(QPushButton *print);

} // namespace tavro::ui
