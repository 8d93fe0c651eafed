#include "ui/portkeyfilter.h"

#include "desktop/prompter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

constexpr int PortDigits = 5;

} // namespace

PortKeyFilter::PortKeyFilter(Prompter &messages, QObject *parent) : QObject(parent), prompter(messages) { }

QLineEdit *PortKeyFilter::portEdit(QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setMaxLength(PortDigits);
    // The key filter refuses what is typed; this catches what is pasted.
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    edit->installEventFilter(this);
    return edit;
}

bool PortKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const QString typed = static_cast<QKeyEvent *>(event)->text();
    if (typed.size() != 1 || !typed[0].isPrint())
        return QObject::eventFilter(watched, event);
    const QChar c = typed[0];
    if (c >= u'0' && c <= u'9')
        return QObject::eventFilter(watched, event);
    prompter.beep();
    return true;
}
