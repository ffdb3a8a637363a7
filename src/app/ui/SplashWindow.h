#pragma once

#include "platform/Platform.h"

#include <QDialog>

class QLabel;

namespace tavro {

// The version window: program name and file version. It plays a chime when shown and closes itself
// as soon as it loses the focus.
class TSplashWindow : public QDialog {
    Q_OBJECT

public:
    explicit TSplashWindow(const Platform &platform, QWidget *parent = nullptr);

    // " Ver." + major.minor.release.build of the program.
    static QString versionText();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void play(const QString &name);

    Platform m_platform;
    QLabel *m_image = nullptr;
    QLabel *m_programLabel = nullptr;
    bool m_wasActive = false;
};

} // namespace tavro
