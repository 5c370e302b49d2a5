#include "ui/message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace ui {

namespace {

class ModalAnswerer : public Answerer {
public:
    bool show(QWidget* parent, BoxKind kind, const QString& text) override
    {
        const QString title = QApplication::applicationDisplayName();
        switch (kind) {
        case BoxKind::Information:
            QMessageBox::information(parent, title, text);
            return true;
        case BoxKind::Question:
            // "No" is the default: a question guards a deliberate act.
            return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
                   QMessageBox::Yes;
        case BoxKind::Error:
            QMessageBox::critical(parent, title, text);
            return true;
        }
        return false;
    }
};

} // namespace

std::unique_ptr<Answerer> makeModalAnswerer()
{
    return std::make_unique<ModalAnswerer>();
}

MessageBoxes::MessageBoxes(QWidget* parent) : parent_(parent), answerer_(makeModalAnswerer()) {}

void MessageBoxes::inform(const std::string& utf8)
{
    answerer_->show(parent_, BoxKind::Information, QString::fromUtf8(utf8));
}

bool MessageBoxes::confirm(const std::string& utf8)
{
    return answerer_->show(parent_, BoxKind::Question, QString::fromUtf8(utf8));
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
        error(e.what());
    } catch (...) {
        error("Unknown error");
    }
    return false;
}

} // namespace ui
