#pragma once
// A main window over a fresh test database, with message boxes answered by a recorder.
#include "app/main_window.h"
#include "support/test_database.h"
#include "ui/message_boxes.h"

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace testing_support {

class RecordingAnswerer : public ui::Answerer {
public:
    explicit RecordingAnswerer(QStringList* shown) : shown_(shown) {}
    bool show(QWidget*, ui::BoxKind kind, const QString& text) override
    {
        shown_->append((kind == ui::BoxKind::Error ? QStringLiteral("error: ") : QString()) + text);
        return true;
    }
    std::optional<QString> askReason(QWidget*, const QString& text) override
    {
        shown_->append(QStringLiteral("question: ") + text);
        if (reasons.empty())
            return std::nullopt;
        const bool yes = reasons.front().has_value();
        const QString reason = yes ? *reasons.front() : QString();
        reasons.pop_front();
        return yes ? std::optional<QString>(reason) : std::nullopt;
    }

    // Answers to the questions that ask why: a reason for Yes, nullopt for No; No when none.
    std::deque<std::optional<QString>> reasons;

private:
    QStringList* shown_;
};

struct WindowFixture {
    TestDatabase database;
    TempFolder exeFolder;
    QStringList shown; // every box the window showed, errors prefixed "error: "
    std::unique_ptr<app::MainWindow> window;

    void open()
    {
        window = std::make_unique<app::MainWindow>(database.connection(), exeFolder.path());
        window->messages().setAnswerer(std::make_unique<RecordingAnswerer>(&shown));
        window->show();
    }
    template <typename T> T* find(const char* name) const { return window->findChild<T*>(QString::fromLatin1(name)); }

    // The window as the clerk has it: active, with a control holding the focus.
    void activate() const
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // Puts the focus where the clerk clicked or tabbed to; returns the widget that has it.
    QWidget* focusOn(const char* name) const
    {
        QWidget* target = find<QWidget>(name);
        EXPECT_NE(target, nullptr) << name;
        if (!target)
            return nullptr;
        target->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QWidget* focused = QApplication::focusWidget();
        EXPECT_TRUE(focused == target || (focused && target->isAncestorOf(focused))) << name;
        return focused;
    }
    // The tables and views of the database that are not the server's own, sorted: what a run
    // left behind shows as a difference.
    QStringList userRelations()
    {
        const db::RecordSet rows = database.connection().query(
            "SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
            "ORDER BY RDB$RELATION_NAME");
        QStringList names;
        for (std::size_t r = 0; r < rows.rowCount(); ++r)
            names << QString::fromStdString(rows.text(r, 0));
        return names;
    }
    // Presses `key` on the focused widget as soon as the window handles events again: during
    // the next run, from its first progress line or while its first statement runs.
    void pressKeyDuringNextRun(Qt::Key key) const
    {
        QTimer::singleShot(0, window.get(), [this, key] { pressKey(key); });
    }
    // A key as the clerk presses it: delivered to the focused widget, never to the window.
    void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr) << "no widget has the focus";
        QTest::keyClick(focused, key, modifiers);
    }
};

} // namespace testing_support
