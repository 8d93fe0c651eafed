#include "ui/ipaddressedit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace {

// The translation context of the texts below.
struct AddressEditor
{
    Q_DECLARE_TR_FUNCTIONS(AddressEditor)
};

bool allDigits(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

IPAddressEdit::IPAddressEdit(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    layout->setContentsMargins(frame + 1, frame, frame + 1, frame);
    layout->setSpacing(0);
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("000")) + 6;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            auto *dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            layout->addWidget(dot);
        }
        auto *field = new QLineEdit(this);
        field->setFrame(false);
        field->setMaxLength(3);
        field->setAlignment(Qt::AlignCenter);
        field->setFixedWidth(fieldWidth);
        field->setAccessibleName(AddressEditor::tr("Octet %1").arg(i + 1));
        // Tab leaves the whole address; the fields inside are reached by typing.
        if (i > 0)
            field->setFocusPolicy(Qt::ClickFocus);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString &typed) { fieldEdited(i, typed); });
        fields[i] = field;
        layout->addWidget(field);
    }
    setFocusProxy(fields[0]);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void IPAddressEdit::setAddressName(const QString &name)
{
    setAccessibleName(name);
    for (int i = 0; i < 4; ++i)
        fields[i]->setAccessibleName(AddressEditor::tr("%1 octet %2").arg(name).arg(i + 1));
}

int IPAddressEdit::octet(int index) const
{
    return values.at(index);
}

void IPAddressEdit::setOctet(int index, int value)
{
    storeOctet(index, std::clamp(value, 0, 255));
    if (!changed)
        return;
    accepted[index] = QString::number(values[index]);
    fields[index]->setText(accepted[index]);
    if (!hasFocusInside())
        fillBlankFields();
}

void IPAddressEdit::setOctets(const std::array<int, 4> &octets)
{
    for (int i = 0; i < 4; ++i)
        setOctet(i, octets[i]);
}

QString IPAddressEdit::text() const
{
    if (!changed)
        return QString();
    return QStringLiteral("%1.%2.%3.%4").arg(values[0]).arg(values[1]).arg(values[2]).arg(values[3]);
}

QSize IPAddressEdit::sizeHint() const
{
    ensurePolished();
    QSize size = layout()->sizeHint();
    const int editHeight = QLineEdit().sizeHint().height();
    return {size.width(), std::max(size.height(), editHeight)};
}

void IPAddressEdit::fieldEdited(int index, const QString &typed)
{
    QLineEdit *field = fields[index];
    const int value = typed.isEmpty() ? 0 : typed.toInt();
    if (!allDigits(typed) || value > 255) {
        const int caret = field->cursorPosition() - int(typed.size() - accepted[index].size());
        field->setText(accepted[index]);
        field->setCursorPosition(std::clamp(caret, 0, int(accepted[index].size())));
        return;
    }
    accepted[index] = typed;
    storeOctet(index, value);
    if (typed.size() == 3 && field->cursorPosition() == 3 && index < 3)
        focusField(index + 1, Caret::SelectAll);
}

void IPAddressEdit::storeOctet(int index, int value)
{
    if (values.at(index) == value)
        return;
    values[index] = value;
    changed = true;
    emit textChanged(text());
}

void IPAddressEdit::focusField(int index, Caret caret)
{
    QLineEdit *field = fields[index];
    field->setFocus(Qt::OtherFocusReason);
    switch (caret) {
    case Caret::SelectAll:
        field->selectAll();
        break;
    case Caret::Start:
        field->setCursorPosition(0);
        break;
    case Caret::End:
        field->setCursorPosition(int(field->text().size()));
        break;
    }
}

void IPAddressEdit::fillBlankFields()
{
    if (!changed)
        return;
    for (int i = 0; i < 4; ++i) {
        accepted[i] = QString::number(values[i]);
        fields[i]->setText(accepted[i]);
    }
}

bool IPAddressEdit::hasFocusInside() const
{
    return std::any_of(fields.begin(), fields.end(), [](const QLineEdit *f) { return f->hasFocus(); });
}

bool IPAddressEdit::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = std::find(fields.begin(), fields.end(), watched);
    if (found == fields.end())
        return QWidget::eventFilter(watched, event);
    const int index = int(found - fields.begin());
    QLineEdit *field = *found;

    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool atStart = field->cursorPosition() == 0 && !field->hasSelectedText();
        const bool atEnd = field->cursorPosition() == field->text().size() && !field->hasSelectedText();
        switch (key->key()) {
        case Qt::Key_Period:
            if (index < 3 && !field->text().isEmpty())
                focusField(index + 1, Caret::SelectAll);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Backspace:
            if (atStart && index > 0) {
                focusField(index - 1, Caret::End);
                return true;
            }
            break;
        case Qt::Key_Right:
            if (atEnd && index < 3) {
                focusField(index + 1, Caret::Start);
                return true;
            }
            break;
        default:
            break;
        }
        break;
    }
    case QEvent::FocusIn:
        update();
        break;
    case QEvent::FocusOut:
        // Leading zeros typed by the user go once the field is left; blank
        // fields show their 0 once the whole address is left.
        if (!field->text().isEmpty()) {
            accepted[index] = QString::number(values[index]);
            field->setText(accepted[index]);
        }
        if (!hasFocusInside())
            fillBlankFields();
        update();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void IPAddressEdit::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionFrame option;
    option.initFrom(this);
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (hasFocusInside())
        option.state |= QStyle::State_HasFocus;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
}
