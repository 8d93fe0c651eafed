#include "ui/portkeyfilter.h"

#include "scan/prompter.h"

#include <QKeyEvent>

PortKeyFilter::PortKeyFilter(Prompter &messages, QObject *parent) : QObject(parent), prompter(messages) { }

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
