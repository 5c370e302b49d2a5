#include "ui/message_boxes.h"

#include "platform/log.h"
#include "text/error.h"
#include "ui/qt_text.h"
#include "ui/reason_question.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <exception>

namespace ui {

namespace {

class ModalAnswerer : public Answerer {
public:
    bool show(QWidget* parent, BoxKind kind, const QString& text) override
    {
        const QString title = QApplication::applicationDisplayName();
        QMessageBox box(kind == BoxKind::Error      ? QMessageBox::Critical
                        : kind == BoxKind::Question ? QMessageBox::Question
                                                    : QMessageBox::Information,
                        title, text, kind == BoxKind::Question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                        parent);
        // "No" is the default: a question guards a deliberate act.
        if (kind == BoxKind::Question)
            box.setDefaultButton(QMessageBox::No);
        keepTitleWhole(box, title);
        const int answer = box.exec();
        return kind != BoxKind::Question || answer == QMessageBox::Yes;
    }

private:
    // A short message makes a narrow box whose title bar cuts the application's title: the
    // box is made as wide as the title needs (a message box ignores a minimum width of its
    // own; a spacer in its layout is what it respects).
    static void keepTitleWhole(QMessageBox& box, const QString& title)
    {
        auto* layout = qobject_cast<QGridLayout*>(box.layout());
        if (!layout)
            return;
        const int width = box.fontMetrics().horizontalAdvance(title) + 160; // the caption buttons
        layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), layout->rowCount(), 0,
                        1, layout->columnCount());
    }

    std::optional<QString> askReason(QWidget* parent, const QString& text) override
    {
        return askForReason(parent, QApplication::applicationDisplayName(), text);
    }
};

} // namespace

std::unique_ptr<Answerer> makeModalAnswerer()
{
    return std::make_unique<ModalAnswerer>();
}

MessageBoxes::MessageBoxes(QWidget* parent) : parent_(parent), answerer_(makeModalAnswerer())
{
}

void MessageBoxes::inform(const std::string& utf8)
{
    answerer_->show(parent_, BoxKind::Information, QString::fromUtf8(utf8));
}

bool MessageBoxes::confirm(const std::string& utf8)
{
    return answerer_->show(parent_, BoxKind::Question, QString::fromUtf8(utf8));
}

std::optional<std::string> MessageBoxes::askWithReason(const std::string& utf8)
{
    const std::optional<QString> reason = answerer_->askReason(parent_, QString::fromUtf8(utf8));
    if (!reason || isBlank(*reason))
        return std::nullopt;
    return trimmedBlanks(*reason).toStdString();
}

void MessageBoxes::error(const std::string& utf8)
{
    answerer_->show(parent_, BoxKind::Error, QString::fromUtf8(utf8));
}

bool MessageBoxes::guarded(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        const std::string shown = text::shownText(e);
        platform::log("ui", platform::LogLevel::Error, "error shown: " + platform::logText(shown, 4000));
        error(shown);
    } catch (...) {
        platform::log("ui", platform::LogLevel::Error, "error shown: Unknown error");
        error("Unknown error");
    }
    return false;
}

} // namespace ui
