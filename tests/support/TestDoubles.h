#pragma once

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/PageCanvas.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "platform/SoundPlayer.h"
#include "platform/UserStore.h"
#include "platform/WorkstationInfo.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace tavro::test {

// Answers questions from a script, in order; a question with no scripted answer left gets its
// default answer. Records everything shown.
class ScriptedPrompter final : public Prompter {
public:
    struct Shown {
        QString caption;
        QString text;
        Buttons buttons;
        Answer defaultAnswer;
        Answer answer;
    };
    void script(std::initializer_list<Answer> answers) { m_script.append(answers); }
    // Called for every box before it is answered (to look at the window meanwhile); an answer it
    // returns goes before the script.
    std::function<std::optional<Answer>(const QString &text)> whenAsked;
    Answer ask(const QString &caption, const QString &text, Buttons buttons, Answer defaultAnswer,
               Icon icon = Icon::None) override;
    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear() {
        m_shown.clear();
        m_script.clear();
    }

private:
    QList<Answer> m_script;
    QList<Shown> m_shown;
};

class MemoryClipboard final : public Clipboard {
public:
    QString text() const override { return m_text; }
    void setText(const QString &text) override { m_text = text; }

private:
    QString m_text;
};

class MemoryUserStore final : public UserStore {
public:
    int readInt(const QString &section, const QString &name, int def = 0) const override {
        return m_values.value(section + QLatin1Char('/') + name, def);
    }
    void writeInt(const QString &section, const QString &name, int value) override {
        m_values.insert(section + QLatin1Char('/') + name, value);
    }
    bool contains(const QString &section, const QString &name) const {
        return m_values.contains(section + QLatin1Char('/') + name);
    }

private:
    QHash<QString, int> m_values;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime now = QDateTime(QDate(2024, 6, 10), QTime(9, 30, 0))) : m_now(now) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &now) { m_now = now; }

private:
    QDateTime m_now;
};

class FixedWorkstationInfo final : public WorkstationInfo {
public:
    QString userName() const override { return QStringLiteral("tanaka"); }
    QString computerName() const override { return QStringLiteral("PC-SHOKUIN01"); }
};

class RecordingSoundPlayer final : public SoundPlayer {
public:
    void play(const QString &name) override { played.append(name); }
    void beep() override { played.append(QStringLiteral("beep")); }
    QStringList played;
};

// Records every canvas operation as one text line.
class RecordingCanvas final : public PageCanvas {
public:
    QStringList operations;
    int resolution = 600;
    void setTitle(const QString &title) override;
    void setOrientation(Orientation orientation) override;
    bool begin() override;
    bool newPage() override;
    bool end() override;
    // The device fails at the n-th new page (1 = the first), or at the end with -1; 0 never.
    int failAt = 0;
    int dpiX() const override { return resolution; }
    int dpiY() const override { return resolution; }
    int pageWidth() const override { return resolution * 827 / 100; }
    int pageHeight() const override { return resolution * 1169 / 100; }
    void setFont(const Font &font) override;
    void setPenWidth(int pixels) override;
    void text(int x, int y, const QString &text) override;
    int textWidth(const QString &text) const override;
    void line(int x1, int y1, int x2, int y2) override;
    void rectangle(int left, int top, int right, int bottom) override;
};

// Draws on another canvas (its metrics are the inner canvas's) and records every operation as the
// recording canvas does.
class TeeCanvas final : public PageCanvas {
private:
    template <class F> auto both(F f) {
        RecordingCanvas record;
        f(record);
        m_operations.append(record.operations);
        return f(*m_inner);
    }
    std::unique_ptr<PageCanvas> m_inner;
    QStringList &m_operations;

public:
    TeeCanvas(std::unique_ptr<PageCanvas> inner, QStringList &operations)
        : m_inner(std::move(inner)), m_operations(operations) {}
    void setTitle(const QString &title) override {
        both([&](PageCanvas &c) { c.setTitle(title); });
    }
    void setOrientation(Orientation o) override {
        both([&](PageCanvas &c) { c.setOrientation(o); });
    }
    bool begin() override {
        return both([](PageCanvas &c) { return c.begin(); });
    }
    bool newPage() override {
        return both([](PageCanvas &c) { return c.newPage(); });
    }
    bool end() override {
        return both([](PageCanvas &c) { return c.end(); });
    }
    int dpiX() const override { return m_inner->dpiX(); }
    int dpiY() const override { return m_inner->dpiY(); }
    int pageWidth() const override { return m_inner->pageWidth(); }
    int pageHeight() const override { return m_inner->pageHeight(); }
    void setFont(const Font &font) override {
        both([&](PageCanvas &c) { c.setFont(font); });
    }
    void setPenWidth(int pixels) override {
        both([&](PageCanvas &c) { c.setPenWidth(pixels); });
    }
    void text(int x, int y, const QString &t) override {
        both([&](PageCanvas &c) { c.text(x, y, t); });
    }
    int textWidth(const QString &text) const override { return m_inner->textWidth(text); }
    void line(int x1, int y1, int x2, int y2) override {
        both([&](PageCanvas &c) { c.line(x1, y1, x2, y2); });
    }
    void rectangle(int left, int top, int right, int bottom) override {
        both([&](PageCanvas &c) { c.rectangle(left, top, right, bottom); });
    }
};

// All doubles in one place, with a Platform pointing at them.
struct TestPlatform {
    ScriptedPrompter prompter;
    MemoryClipboard clipboard;
    MemoryUserStore userStore;
    RecordingSoundPlayer sound;
    FixedClock clock;
    FixedWorkstationInfo workstation;
    Platform platform() { return Platform{&prompter, &clipboard, &userStore, &sound, &clock, &workstation}; }
};

} // namespace tavro::test
