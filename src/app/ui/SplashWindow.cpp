#include "app/ui/SplashWindow.h"
#include "widgets/UiFont.h"

#include "Version.h"
#include "platform/SoundPlayer.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tavro {

namespace {

QString u(const char *text) {
    return QString::fromUtf8(text);
}

QFont splashFont(qreal pointSize, bool bold) {
    return ui::uiFont(pointSize, bold);
}

// A clock tower at dusk.
QPixmap towerPixmap(const QSize &size, qreal dpr) {
    QPixmap pixmap(size * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(10, 20, 70));
    sky.setColorAt(1.0, QColor(60, 110, 200));
    QPainterPath frame;
    frame.addRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 6, 6);
    p.fillPath(frame, sky);

    const qreal cx = w / 2;
    const qreal bodyW = w * 0.42;
    const QRectF body(cx - bodyW / 2, h * 0.34, bodyW, h * 0.62);
    // Roof.
    QPainterPath roof;
    roof.moveTo(cx, h * 0.08);
    roof.lineTo(body.right() + 4, body.top());
    roof.lineTo(body.left() - 4, body.top());
    roof.closeSubpath();
    p.fillPath(roof, QColor(120, 40, 40));
    p.setPen(QPen(QColor(230, 220, 200), 1));
    p.drawLine(QPointF(cx, h * 0.03), QPointF(cx, h * 0.08));
    // Tower body.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 228, 210));
    p.drawRect(body);
    p.setBrush(QColor(200, 190, 170));
    p.drawRect(QRectF(body.left(), body.bottom() - 4, body.width(), 4));
    // Clock face.
    const QPointF centre(cx, body.top() + bodyW * 0.55);
    const qreal radius = bodyW * 0.36;
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(QColor(30, 30, 30), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(0, -radius * 0.75));
    p.drawLine(centre, centre + QPointF(radius * 0.5, radius * 0.15));
    // Windows.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 90, 140));
    for (int i = 0; i < 2; ++i) {
        const qreal y = centre.y() + radius + 8 + i * 18;
        p.drawRoundedRect(QRectF(cx - 5, y, 10, 12), 4, 4);
    }
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(frame);
    return pixmap;
}

} // namespace

TSplashWindow::TSplashWindow(const Platform &platform, QWidget *parent)
    : QDialog(parent), m_platform(platform) {
    setObjectName(u("SplashWindow"));
    setWindowTitle(u("バージョン情報"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(splashFont(10, false));

    m_image = new QLabel;
    m_image->setObjectName(u("Image1"));
    m_image->setPixmap(towerPixmap(QSize(96, 128), devicePixelRatioF()));
    m_image->setCursor(Qt::PointingHandCursor);
    m_image->installEventFilter(this);

    m_programLabel = new QLabel(u("成績処理"));
    m_programLabel->setObjectName(u("ProgramLabel"));
    m_programLabel->setFont(splashFont(22, true));
    m_programLabel->setStyleSheet(u("color: #12306e;"));
    m_programLabel->installEventFilter(this);

    auto *version = new QLabel(versionText());
    version->setObjectName(u("VersionLabel"));
    version->setFont(splashFont(12, false));

    auto *close = new QPushButton(u("閉じる"));
    close->setObjectName(u("CloseButton"));
    close->setDefault(true);
    close->setMinimumSize(96, 30);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto *text = new QVBoxLayout;
    text->setSpacing(6);
    text->addStretch(1);
    text->addWidget(m_programLabel);
    text->addWidget(version);
    text->addStretch(2);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(close);
    text->addLayout(buttonRow);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(20);
    layout->addWidget(m_image, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    setFixedSize(sizeHint().expandedTo(QSize(340, 160)));
}

QString TSplashWindow::versionText() {
    return u(" Ver.") + QString::number(version::major) + u(".") + QString::number(version::minor) + u(".") +
           QString::number(version::release) + u(".") + QString::number(version::build);
}

void TSplashWindow::play(const QString &name) {
    if (m_platform.sound)
        m_platform.sound->play(name);
}

void TSplashWindow::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen)
            move(screen->availableGeometry().center() - rect().center());
        play(u("Tokeidai"));
    }
}

void TSplashWindow::changeEvent(QEvent *event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow())
        m_wasActive = true;
    else if (m_wasActive && isVisible())
        close();
}

bool TSplashWindow::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_image)
            play(u("Tokeidai"));
        else if (watched == m_programLabel)
            play(u("VOtukare"));
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tavro
