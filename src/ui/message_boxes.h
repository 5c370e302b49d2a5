#pragma once
// Message and error boxes under the application's title. Tests replace the Answerer to read
// what would be shown and to answer questions without a modal loop.
#include "work/messages.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace ui {

enum class BoxKind { Information, Question, Error };

class Answerer {
public:
    virtual ~Answerer() = default;
    // Shows the box; returns true for OK/Yes.
    virtual bool show(QWidget* parent, BoxKind kind, const QString& text) = 0;
    // A Yes/No question with a reason to type; No is the default. Returns the reason for Yes.
    // One that cannot ask answers No.
    virtual std::optional<QString> askReason(QWidget* parent, const QString& text)
    {
        (void)parent;
        (void)text;
        return std::nullopt;
    }
};

// Real modal boxes.
std::unique_ptr<Answerer> makeModalAnswerer();

class MessageBoxes : public work::Messages {
public:
    explicit MessageBoxes(QWidget* parent);
    void setAnswerer(std::unique_ptr<Answerer> answerer) { answerer_ = std::move(answerer); }

    void inform(const std::string& utf8) override;
    bool confirm(const std::string& utf8) override;
    std::optional<std::string> askWithReason(const std::string& utf8) override;
    void error(const std::string& utf8);

    // The one place that catches: runs an event handler and shows any error in the error box.
    // Returns false when the handler failed.
    bool guarded(const std::function<void()>& handler);

private:
    QWidget* parent_;
    std::unique_ptr<Answerer> answerer_;
};

} // namespace ui
