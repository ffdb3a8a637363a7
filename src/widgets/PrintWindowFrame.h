#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;

namespace tavro {

// The frame every print window shares: the title panel with the context, the class check list with
// "全選択" and "全解除", the prompt, a row for the window's document buttons, the paper note and
// "もどる(&C)".
class PrintWindowFrame final : public QWidget {
    Q_OBJECT

public:
    explicit PrintWindowFrame(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    // The prompt above the class list and the note under the buttons (the print texts by default).
    void setPrompt(const QString &text);
    void setNote(const QString &text);
    // One check item per class label ("1組", "A組"), classes 1..n, all unchecked.
    void setClasses(const QStringList &labels);
    std::vector<int> checkedClasses() const;
    void setAllChecked(bool checked);
    // Adds a document button (object name `name`) to the button row.
    QPushButton *addDocumentButton(const QString &text, const QString &name);
    // Puts "プレビュー" under a document button of the row (see ui::previewButtonFor).
    QPushButton *addPreviewButton(QPushButton *document);
    // Adds a widget of the window's own (a panel of buttons with their labels) to the button row.
    void addDocumentWidget(QWidget *widget);
    QPushButton *backButton() const { return m_back; }
    QListWidget *classList() const { return m_classes; }

private:
    QLabel *m_title = nullptr;
    QLabel *m_prompt = nullptr;
    QLabel *m_note = nullptr;
    QListWidget *m_classes = nullptr;
    QHBoxLayout *m_documents = nullptr;
    QPushButton *m_back = nullptr;
};

} // namespace tavro
