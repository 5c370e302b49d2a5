#pragma once
// Answers the next save dialog the code under test opens, as a clerk would: types the file
// name and presses Save. Header-only, for the test programs that link Qt Widgets.
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <memory>
#include <string>

namespace testing_support {

class SaveDialogAnswer {
public:
    // `path` is typed into the next QFileDialog that comes up; `seen` tells whether one did.
    explicit SaveDialogAnswer(const std::string& path) : path_(QString::fromStdString(path))
    {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer_.stop();
            seen_ = true;
            caption_ = dialog->windowTitle();
            // Typed into the file-name field, as the clerk types it.
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(path_);
            else
                dialog->selectFile(path_);
            static_cast<QDialog*>(dialog)->accept(); // Save, as the button does
        });
        timer_.start();
    }
    bool seen() const { return seen_; }
    QString caption() const { return caption_; }

private:
    QString path_;
    QTimer timer_;
    bool seen_ = false;
    QString caption_;
};

} // namespace testing_support
