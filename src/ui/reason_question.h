#pragma once
// The modal question of a deliberate act that needs a reason (issuing a cheque again): the
// question, a line for the reason, "是" and "否". "否" is the default button and Esc answers it;
// "是" stays disabled until a reason is typed.
#include <QString>
#include <optional>

class QWidget;

namespace ui {

// The typed reason (trimmed) for "是"; nothing for "否" or a closed box.
std::optional<QString> askForReason(QWidget* parent, const QString& title, const QString& question);

} // namespace ui
