#pragma once
// A main window over a fresh test database, with message boxes answered by a recorder.
#include "app/main_window.h"
#include "support/test_database.h"
#include "ui/message_boxes.h"

#include <QString>
#include <QStringList>
#include <deque>
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
        std::optional<QString> reason = reasons.front();
        reasons.pop_front();
        return reason;
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
    std::unique_ptr<app::FormTolvane> window;

    void open()
    {
        window = std::make_unique<app::FormTolvane>(database.connection(), exeFolder.path());
        window->messages().setAnswerer(std::make_unique<RecordingAnswerer>(&shown));
        window->show();
    }
    template <typename T> T* find(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
};

} // namespace testing_support
