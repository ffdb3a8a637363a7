#pragma once

#include "config/KantenEditor.h"
#include "platform/Platform.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavro {

// "観点の定義": the short, medium and long names of the six viewpoints of one subject, compulsory or
// elective. The section shown is saved when it was changed, before another one is shown and when
// the window closes.
class TKantenDefForm : public QDialog {
    Q_OBJECT

public:
    TKantenDefForm(const Platform &platform, const QString &mainCaption, int nendo, const QString &dataFolder,
                   int schoolKind, QWidget *parent = nullptr);
    ~TKantenDefForm() override;

    const KantenEditor &editor() const { return m_editor; }

    // Saves the section when modified; the window stays open when the save fails and the user keeps it.
    void done(int result) override;

private:
    void SectionClick();
    void KantenEditChange(int viewpoint, KantenEditor::Length length, QLineEdit *edit);
    void DefaultClick();
    void ImportClick();
    void showSection();
    void message(const QString &text, bool warning = true);

    Platform m_platform;
    KantenEditor m_editor;
    bool m_loading = false;

    QRadioButton *m_hissu = nullptr;
    QRadioButton *m_sentaku = nullptr;
    QButtonGroup *m_kyouka = nullptr;
    QLabel *m_title = nullptr;
    std::array<std::array<QLineEdit *, 3>, 6> m_edits{};
    QPushButton *m_default = nullptr;
    QPushButton *m_import = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace tavro
