#include "platform/qt/message_bar.h"

#include <QLabel>

namespace tarvel {

TMessageBar::TMessageBar(QWidget* parent) : QStatusBar(parent), prompt_(new QLabel(this))
{
    setObjectName("statusBar");
    prompt_->setObjectName("statusPrompt");
    // A normal (not permanent) item: the bar hides it while a hint is shown
    // and brings it back when the hint is cleared.
    addWidget(prompt_, 1);
}

void TMessageBar::setPrompt(const QString& text)
{
    clearMessage();
    prompt_->setText(text);
}

QString TMessageBar::prompt() const
{
    return prompt_->text();
}

QString TMessageBar::shownText() const
{
    return currentMessage().isEmpty() ? prompt_->text() : currentMessage();
}

}  // namespace tarvel
