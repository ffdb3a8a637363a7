#include "app/ui/PermissionForm1.h"

#include "platform/Prompter.h"
#include "platform/UserStore.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tavro {

namespace {

QString u(const char *text) {
    return QString::fromUtf8(text);
}

} // namespace

TPermissionForm1::TPermissionForm1(const Platform &platform, int nendo, const QString &dataFolder,
                                   QWidget *parent)
    : QDialog(parent), m_platform(platform), m_nendo(nendo), m_dataFolder(dataFolder),
      m_permissions(InputPermissions::load(dataFolder, nendo)) {
    setObjectName(u("PermissionForm1"));
    setWindowTitle(u("入力許可"));
    setModal(true);
    resize(520, 420);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    m_pages = new QTabWidget;
    m_pages->setObjectName(u("PageControl1"));
    for (int p = 0; p < 4; ++p) {
        const InputPermissions::Page &page = m_permissions.pages[p];
        auto *w = new QWidget;
        auto *v = new QVBoxLayout(w);
        v->setContentsMargins(10, 10, 10, 10);
        auto *heading = new QLabel(page.heading);
        heading->setWordWrap(true);
        v->addWidget(heading);
        auto *list = new QListWidget;
        list->setObjectName(u("CheckListBox%1").arg(p + 1));
        list->setSpacing(2);
        for (int i = 0; i < page.items.size(); ++i) {
            auto *item = new QListWidgetItem(page.items[i], list);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            item->setCheckState(page.checked.value(i) ? Qt::Checked : Qt::Unchecked);
        }
        if (page.items.isEmpty()) {
            auto *none = new QLabel(u("名前の付いた種別がありません。「各種設定」で名前を付けてください。"));
            none->setStyleSheet(u("color: #606060;"));
            v->addWidget(none);
        }
        v->addWidget(list, 1);
        m_lists[p] = list;
        m_pages->addTab(w, page.caption);
    }
    layout->addWidget(m_pages, 1);

    auto *row = new QHBoxLayout;
    row->addStretch(1);
    auto *ok = new QPushButton(u("OK"));
    ok->setObjectName(u("OKButton"));
    ok->setDefault(true);
    ok->setMinimumSize(110, 30);
    row->addWidget(ok);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    const int stored =
        m_platform.userStore ? m_platform.userStore->readInt(u("Settings"), u("Permission"), 0) : 0;
    m_pages->setCurrentIndex(qBound(0, stored, m_pages->count() - 1));
}

bool TPermissionForm1::store() {
    if (m_stored)
        return true;
    for (int p = 0; p < 4; ++p) {
        InputPermissions::Page &page = m_permissions.pages[p];
        for (int i = 0; i < page.checked.size() && i < m_lists[p]->count(); ++i)
            page.checked[i] = m_lists[p]->item(i)->checkState() == Qt::Checked;
    }
    QString error;
    if (!m_permissions.save(m_dataFolder, m_nendo, &error) && m_platform.prompter) {
        // The check marks stay in the window unless the teacher chooses to close without them.
        const auto answer = m_platform.prompter->ask(
            u("Tavro"),
            u("入力許可の設定を保存できませんでした。\n") + error + u("\n\n保存せずに閉じますか?"),
            Prompter::Buttons::YesNo, Prompter::Answer::No, Prompter::Icon::Warning);
        if (answer != Prompter::Answer::Yes)
            return false;
    }
    m_stored = true;
    if (m_platform.userStore)
        m_platform.userStore->writeInt(u("Settings"), u("Permission"), m_pages->currentIndex());
    return true;
}

void TPermissionForm1::done(int r) {
    if (store())
        QDialog::done(r);
}

} // namespace tavro
